// The visualizer window's frame buffer: a cairo image surface (RGB24, the
// port's x-8-8-8 layout) wrapped by a port the plug-in draws into, so the
// window paints exactly the pixels the plug-in drew, with no copy.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "QuickDraw.h"
#include "WindowLimits.h"

namespace zt::host {

class WindowFrameBuffer {
  public:
    // Black pixels; none when the surface or the port cannot be made (no memory).
    static std::optional<WindowFrameBuffer> Make(WindowSize size);

    CGrafPtr port() const { return port_.get(); }
    WindowSize size() const { return size_; }
    Rect rect() const { return Rect{0, 0, SInt16(size_.height), SInt16(size_.width)}; }
    cairo_surface_t* surface() const { return surface_.get(); }

    // Takes the other buffer's picture, scaled to this size, so a resized
    // window shows the last frame until the plug-in draws the next.
    void CopyScaledFrom(const WindowFrameBuffer& other);
    // The plug-in drew into the port behind cairo's back: cairo must reread.
    void PixelsChanged() { cairo_surface_mark_dirty(surface_.get()); }
    // The reason on failure.
    std::optional<std::string> WritePng(const std::filesystem::path& path) const;

  private:
    struct DestroySurface {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct DisposePort {
        void operator()(CGrafPtr port) const { DisposePortOnPixels(port); }
    };
    WindowFrameBuffer() = default;

    WindowSize size_;
    // Destroyed in reverse order: the port goes before the pixels it points at.
    std::unique_ptr<cairo_surface_t, DestroySurface> surface_;
    std::unique_ptr<std::remove_pointer_t<CGrafPtr>, DisposePort> port_;
};

} // namespace zt::host
