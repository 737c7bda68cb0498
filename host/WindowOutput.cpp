#include "WindowOutput.h"

#include <algorithm>
#include <exception>

#include "WindowTitle.h"

namespace zt::host {
namespace {

// GTK calls the handlers from C: nothing may be thrown through it.
template <class Body>
auto Guarded(Reporter& reporter, Body&& body, decltype(body()) fallback) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        reporter.Error(std::string("the visualizer window failed: ") + e.what());
    } catch (...) {
        reporter.Error("the visualizer window failed");
    }
    return fallback;
}

std::string SizeText(WindowSize size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

constexpr guint kShortcutModifiers = GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK | GDK_META_MASK;

} // namespace

Expected<std::unique_ptr<WindowOutput>> WindowOutput::Make(int width, int height, WindowLimits limits,
                                                           WindowOptions options, Reporter& reporter) {
    if (!gtk_init_check(nullptr, nullptr))
        return Failure{"cannot open a display for the visualizer window (is DISPLAY set?)"};
    WindowSize size = limits.Clamp({width, height});
    if (size != WindowSize{width, height})
        reporter.Note("the plug-in takes sizes from " + SizeText(limits.min) + " to " +
                      SizeText(limits.max) + "; the window opens at " + SizeText(size));
    std::optional<WindowFrameBuffer> buffer = WindowFrameBuffer::Make(size);
    if (!buffer) return Failure{"cannot make a visualizer frame buffer of " + SizeText(size) + " pixels"};
    std::unique_ptr<WindowOutput> output(
        new WindowOutput(std::move(*buffer), limits, std::move(options), reporter));
    output->Build(size);
    return output;
}

WindowOutput::WindowOutput(WindowFrameBuffer buffer, WindowLimits limits, WindowOptions options,
                           Reporter& reporter)
    : buffer_(std::move(buffer)), limits_(limits), options_(std::move(options)), reporter_(reporter) {}

void WindowOutput::Build(WindowSize size) {
    window_ = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    gtk_window_set_title(window_, kIdleWindowTitle);
    gtk_window_set_default_size(window_, size.width, size.height);
    GdkGeometry geometry{};
    geometry.min_width = limits_.min.width;
    geometry.min_height = limits_.min.height;
    geometry.max_width = limits_.max.width;
    geometry.max_height = limits_.max.height;
    gtk_window_set_geometry_hints(window_, nullptr, &geometry,
                                  GdkWindowHints(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));

    area_ = gtk_drawing_area_new();
    gtk_widget_add_events(area_, GDK_BUTTON_PRESS_MASK);
    gtk_container_add(GTK_CONTAINER(window_), area_);
    menu_ = BuildMenu();

    g_signal_connect(area_, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
    g_signal_connect(area_, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(area_, "button-press-event", G_CALLBACK(OnButtonPress), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(OnWindowState), this);

    PlaceOnMonitor(size);
    if (options_.fullScreen) SetFullScreen(true);
    gtk_widget_show_all(GTK_WIDGET(window_));
}

WindowOutput::~WindowOutput() {
    // No handler may run on a half-destroyed output.
    g_signal_handlers_disconnect_by_data(area_, this);
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_container_foreach(GTK_CONTAINER(menu_), [](GtkWidget* item, gpointer self) {
        g_signal_handlers_disconnect_by_data(item, self);
    }, this);
    gtk_widget_destroy(GTK_WIDGET(window_));
}

GtkWidget* WindowOutput::BuildMenu() {
    GtkWidget* menu = gtk_menu_new();
    const std::pair<const char*, GCallback> items[] = {
        {"Settings\u2026", G_CALLBACK(OnMenuSettings)},
        {"Full Screen", G_CALLBACK(OnMenuFullScreen)},
        {"Quit", G_CALLBACK(OnMenuQuit)},
    };
    for (const auto& [label, activate] : items) {
        GtkWidget* item = gtk_menu_item_new_with_label(label);
        g_signal_connect(item, "activate", activate, this);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    gtk_widget_show_all(menu);
    // Attached, the menu is destroyed with the area.
    gtk_menu_attach_to_widget(GTK_MENU(menu), area_, nullptr);
    return menu;
}

// Places the window on the chosen monitor, centred there; full screen then
// covers that monitor.
void WindowOutput::PlaceOnMonitor(WindowSize size) {
    if (!options_.monitor) return;
    GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window_));
    int count = gdk_display_get_n_monitors(display);
    GdkMonitor* monitor = *options_.monitor >= 0 ? gdk_display_get_monitor(display, *options_.monitor)
                                                 : nullptr;
    if (monitor == nullptr) {
        reporter_.Note("there is no monitor " + std::to_string(*options_.monitor) + " (monitors 0 to " +
                       std::to_string(count - 1) + "); the window opens where the window system puts it");
        options_.monitor.reset();
        return;
    }
    GdkRectangle area{};
    gdk_monitor_get_geometry(monitor, &area);
    gtk_window_move(window_, area.x + std::max(0, (area.width - size.width) / 2),
                    area.y + std::max(0, (area.height - size.height) / 2));
}

void WindowOutput::SetFullScreen(bool on) {
    if (!on) {
        gtk_window_unfullscreen(window_);
    } else if (options_.monitor) {
        gtk_window_fullscreen_on_monitor(window_, gtk_window_get_screen(window_), *options_.monitor);
    } else {
        gtk_window_fullscreen(window_);
    }
}

void WindowOutput::FrameDrawn(std::chrono::microseconds) {
    buffer_.PixelsChanged();
    gtk_widget_queue_draw(area_);
}

void WindowOutput::SetSong(const std::optional<Song>& song) {
    gtk_window_set_title(window_, WindowTitleFor(song).c_str());
}

std::string WindowOutput::title() const {
    const char* title = gtk_window_get_title(window_);
    return title != nullptr ? title : "";
}

// A new buffer and port for the new size; the listener ('swin') hears of them
// while the old port still exists, and the old buffer goes after.
void WindowOutput::AreaResized(WindowSize allocated) {
    WindowSize size = limits_.Clamp(allocated);
    if (size == buffer_.size()) return;
    std::optional<WindowFrameBuffer> resized = WindowFrameBuffer::Make(size);
    if (!resized) {
        if (failedSize_ != size)
            reporter_.Error("cannot make a visualizer frame buffer of " + SizeText(size) +
                            " pixels; the picture stays at " + SizeText(buffer_.size()));
        failedSize_ = size;
        return;
    }
    failedSize_.reset();
    resized->CopyScaledFrom(buffer_);
    std::swap(buffer_, *resized);
    if (resized_) resized_();
    gtk_widget_queue_draw(area_);
}

// The frame fills the area when their sizes agree (always, but where the
// area is outside the plug-in's limits): else it is scaled down to fit or
// centred, on black.
void WindowOutput::Paint(cairo_t* cr) const {
    double areaWidth = gtk_widget_get_allocated_width(area_);
    double areaHeight = gtk_widget_get_allocated_height(area_);
    WindowSize frame = buffer_.size();
    if (areaWidth != frame.width || areaHeight != frame.height) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        double scale = std::min({1.0, areaWidth / frame.width, areaHeight / frame.height});
        cairo_translate(cr, (areaWidth - frame.width * scale) / 2, (areaHeight - frame.height * scale) / 2);
        cairo_scale(cr, scale, scale);
    }
    cairo_set_source_surface(cr, buffer_.surface(), 0, 0);
    cairo_paint(cr);
}

bool WindowOutput::KeyPressed(const GdkEventKey& event) {
    if ((event.state & kShortcutModifiers) != 0) return false;
    switch (event.keyval) {
    case GDK_KEY_F11:
    case GDK_KEY_f:
    case GDK_KEY_F: ToggleFullScreen(); return true;
    case GDK_KEY_o:
    case GDK_KEY_O: AskSettings(); return true;
    case GDK_KEY_q:
    case GDK_KEY_Q: AskQuit(); return true;
    case GDK_KEY_Escape:
        if (fullScreen_)
            SetFullScreen(false);
        else
            AskQuit();
        return true;
    default: return false;
    }
}

bool WindowOutput::ButtonPressed(const GdkEventButton& event) {
    if (event.type == GDK_2BUTTON_PRESS && event.button == GDK_BUTTON_PRIMARY) {
        ToggleFullScreen();
        return true;
    }
    if (gdk_event_triggers_context_menu(reinterpret_cast<const GdkEvent*>(&event))) {
        gtk_menu_popup_at_pointer(GTK_MENU(menu_), reinterpret_cast<const GdkEvent*>(&event));
        return true;
    }
    return false;
}

void WindowOutput::AskSettings() {
    if (settingsAsked_) settingsAsked_();
}

void WindowOutput::AskQuit() {
    if (quitAsked_)
        quitAsked_();
    else
        gtk_widget_hide(GTK_WIDGET(window_));
}

void WindowOutput::OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    Guarded(output.reporter_, [&] {
        output.AreaResized({allocation->width, allocation->height});
        return 0;
    }, 0);
}

gboolean WindowOutput::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    output.Paint(cr);
    return TRUE;
}

gboolean WindowOutput::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    return Guarded(output.reporter_, [&] { return output.KeyPressed(*event); }, false);
}

gboolean WindowOutput::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    return Guarded(output.reporter_, [&] { return output.ButtonPressed(*event); }, false);
}

// Closing the window asks to quit; the program ends the showing and then
// destroys the output, so the window is never destroyed under it.
gboolean WindowOutput::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    Guarded(output.reporter_, [&] { output.AskQuit(); return 0; }, 0);
    return TRUE;
}

void WindowOutput::OnMenuSettings(GtkMenuItem*, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    Guarded(output.reporter_, [&] { output.AskSettings(); return 0; }, 0);
}

void WindowOutput::OnMenuFullScreen(GtkMenuItem*, gpointer self) {
    static_cast<WindowOutput*>(self)->ToggleFullScreen();
}

void WindowOutput::OnMenuQuit(GtkMenuItem*, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    Guarded(output.reporter_, [&] { output.AskQuit(); return 0; }, 0);
}

gboolean WindowOutput::OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
    auto& output = *static_cast<WindowOutput*>(self);
    output.fullScreen_ = (event->new_window_state & GDK_WINDOW_STATE_FULLSCREEN) != 0;
    return FALSE;
}

} // namespace zt::host
