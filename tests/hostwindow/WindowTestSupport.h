// What the window tests share: spinning the main loop until something holds
// (with a deadline, never a fixed sleep), key and button events as a person
// makes them, and reading back what the window paints.
#pragma once

#include <gtk/gtk.h>

#include "Picture.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace zt::host::test {

// Runs the default main context until done() holds or the time is up; whether it holds.
inline bool SpinUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    // A wake-up now and then, so a condition that no event changes is still seen.
    guint tick = g_timeout_add(5, [](gpointer) { return gboolean(G_SOURCE_CONTINUE); }, nullptr);
    bool held = done();
    while (!held && std::chrono::steady_clock::now() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
        held = done();
    }
    g_source_remove(tick);
    return held;
}

// Spins for a while whatever happens: to let frames run.
inline void SpinFor(std::chrono::milliseconds time) {
    SpinUntil([] { return false; }, time);
}

// A key press delivered to the widget's handlers as the window system's would be
// (also to a hidden window, which GTK's own delivery skips).
inline void PressKey(GtkWidget* widget, guint keyval, guint modifiers = 0) {
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->key.send_event = TRUE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.keyval = keyval;
    event->key.state = modifiers;
    gboolean handled = FALSE;
    g_signal_emit_by_name(widget, "key-press-event", event, &handled);
    gdk_event_free(event);
}

// A button press (GDK_BUTTON_PRESS, or GDK_2BUTTON_PRESS for the second of a
// double-click) in the middle of the widget.
inline void PressButton(GtkWidget* widget, GdkEventType type, guint button) {
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->button.send_event = TRUE;
    event->button.time = GDK_CURRENT_TIME;
    event->button.button = button;
    event->button.x = gtk_widget_get_allocated_width(widget) / 2.0;
    event->button.y = gtk_widget_get_allocated_height(widget) / 2.0;
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(widget));
    gdk_event_set_device(event, gdk_seat_get_pointer(seat));
    gboolean handled = FALSE;
    g_signal_emit_by_name(widget, "button-press-event", event, &handled);
    gdk_event_free(event);
}

using zt::test::LoadPng;
using zt::test::Picture;
using zt::test::PictureOf;

// What the widget paints, at its allocated size.
inline Picture PaintedBy(GtkWidget* widget) {
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_RGB24, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget));
    cairo_t* cr = cairo_create(surface);
    gtk_widget_draw(widget, cr);
    cairo_destroy(cr);
    Picture picture = PictureOf(surface);
    cairo_surface_destroy(surface);
    return picture;
}

} // namespace zt::host::test
