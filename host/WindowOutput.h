// The visualizer in a window: a resizable GTK window whose drawing area shows
// the frame buffer the plug-in draws into. Every change of the drawing area's
// size makes a frame buffer and port of the new size (within the plug-in's
// limits) and tells the resize listener, which sends 'swin'.
//
// Keys: F11, f and a double-click toggle full screen; o asks for the settings;
// q asks to quit, and so does Escape (which first leaves full screen when in
// it) and closing the window. A right-click opens a menu of the same.
// The program decides what asking means through the two callbacks.
//
// Host's thread only, with the GLib main loop running for events and painting.
#pragma once

#include <gtk/gtk.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Expected.h"
#include "Reporter.h"
#include "VisualOutput.h"
#include "WindowFrameBuffer.h"
#include "WindowLimits.h"

namespace zt::host {

struct WindowOptions {
    bool fullScreen = false;   // start full screen
    std::optional<int> monitor; // 0-based; none: where the window system puts it
};

class WindowOutput final : public VisualOutput {
  public:
    // A window of width x height (brought within the limits), shown at once.
    // Fails with a message when no display can be opened or no frame buffer
    // made; a monitor that does not exist is reported and ignored.
    static Expected<std::unique_ptr<WindowOutput>> Make(int width, int height, WindowLimits limits,
                                                        WindowOptions options, Reporter& reporter);
    ~WindowOutput() override;
    WindowOutput(const WindowOutput&) = delete;
    WindowOutput& operator=(const WindowOutput&) = delete;

    CGrafPtr port() const override { return buffer_.port(); }
    Rect drawRect() const override { return buffer_.rect(); }
    void FrameDrawn(std::chrono::microseconds sinceShow) override;
    void Finish(std::chrono::microseconds) override {}
    bool healthy() const override { return true; }
    void SetResizeListener(std::function<void()> listener) override { resized_ = std::move(listener); }
    void SetSong(const std::optional<Song>& song) override;

    // What the person asks for; unset, the request is ignored (closing the
    // window then only hides it).
    void SetSettingsRequestHandler(std::function<void()> handler) { settingsAsked_ = std::move(handler); }
    void SetQuitRequestHandler(std::function<void()> handler) { quitAsked_ = std::move(handler); }

    // Asks the window system; fullScreen() follows once it has done so.
    void SetFullScreen(bool on);
    void ToggleFullScreen() { SetFullScreen(!fullScreen_); }
    bool fullScreen() const { return fullScreen_; }

    // The current frame as PNG; the reason on failure.
    std::optional<std::string> Snapshot(const std::filesystem::path& path) const {
        return buffer_.WritePng(path);
    }
    WindowSize size() const { return buffer_.size(); }
    std::string title() const;
    GtkWindow* window() const { return window_; }
    GtkWidget* drawingArea() const { return area_; }

  private:
    WindowOutput(WindowFrameBuffer buffer, WindowLimits limits, WindowOptions options,
                 Reporter& reporter);
    void Build(WindowSize size);
    void PlaceOnMonitor(WindowSize size);
    GtkWidget* BuildMenu();

    void AreaResized(WindowSize allocated);
    void Paint(cairo_t* cr) const;
    bool KeyPressed(const GdkEventKey& event);
    bool ButtonPressed(const GdkEventButton& event);
    void AskSettings();
    void AskQuit();

    static void OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self);
    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
    static void OnMenuSettings(GtkMenuItem*, gpointer self);
    static void OnMenuFullScreen(GtkMenuItem*, gpointer self);
    static void OnMenuQuit(GtkMenuItem*, gpointer self);
    static gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self);

    WindowFrameBuffer buffer_;
    WindowLimits limits_;
    WindowOptions options_;
    Reporter& reporter_;
    GtkWindow* window_ = nullptr; // destroyed with the output
    GtkWidget* area_ = nullptr;   // owned by the window
    GtkWidget* menu_ = nullptr;   // the right-click menu, destroyed with the area
    bool fullScreen_ = false;
    std::optional<WindowSize> failedSize_; // the last size no buffer could be made for
    std::function<void()> resized_;
    std::function<void()> settingsAsked_;
    std::function<void()> quitAsked_;
};

} // namespace zt::host
