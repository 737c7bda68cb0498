// A picture of the settings window for a person to look at, drawn by GTK from
// the real widgets: ZT_SCREENSHOT_DIR/settings-window.png.
#include <gtk/gtk.h>

#include <filesystem>

#include "SettingsFixture.h"

namespace {

using namespace zt::test;

using SettingsScreenshot = SettingsWindowTest;

TEST_F(SettingsScreenshot, DrawsTheWindowToAPicture) {
    if (RequestedBackend() != zt::windows::Backend::Gtk) GTEST_SKIP() << "GTK only";
    Open();
    GtkWidget* widget = nullptr;
    for (GList* top = gtk_window_list_toplevels(); top != nullptr;
         top = g_list_delete_link(top, top)) {
        const char* title = gtk_window_get_title(GTK_WINDOW(top->data));
        if (title && std::string(title) == "Zoetropica Settings" &&
            gtk_widget_get_visible(GTK_WIDGET(top->data)))
            widget = GTK_WIDGET(top->data);
    }
    ASSERT_NE(widget, nullptr);
    for (int i = 0; i < 200 && (!gtk_widget_get_mapped(widget) || gtk_events_pending()); ++i)
        gtk_main_iteration_do(FALSE);
    int width = gtk_widget_get_allocated_width(widget);
    int height = gtk_widget_get_allocated_height(widget);
    ASSERT_GT(width, 200);
    ASSERT_GT(height, 150);

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    gtk_widget_draw(widget, cr);
    cairo_destroy(cr);
    std::filesystem::create_directories(ZT_SCREENSHOT_DIR);
    std::string path = std::string(ZT_SCREENSHOT_DIR) + "/settings-window.png";
    EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(surface);
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    Click(kCancelId);
}

} // namespace
