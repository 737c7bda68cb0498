#include "WindowFrameBuffer.h"

#include "PngSnapshot.h"

namespace zt::host {

std::optional<WindowFrameBuffer> WindowFrameBuffer::Make(WindowSize size) {
    if (size.width <= 0 || size.height <= 0 || size.width > WindowLimits::kLargest ||
        size.height > WindowLimits::kLargest)
        return std::nullopt;
    WindowFrameBuffer buffer;
    buffer.size_ = size;
    // cairo zero-fills a new image surface: black, as x-8-8-8.
    buffer.surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height));
    if (cairo_surface_status(buffer.surface_.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    Rect bounds = buffer.rect();
    buffer.port_.reset(NewPortOnPixels(reinterpret_cast<Ptr>(cairo_image_surface_get_data(buffer.surface())),
                                       cairo_image_surface_get_stride(buffer.surface()), &bounds));
    if (buffer.port_ == nullptr) return std::nullopt;
    return buffer;
}

void WindowFrameBuffer::CopyScaledFrom(const WindowFrameBuffer& other) {
    cairo_t* cr = cairo_create(surface());
    cairo_scale(cr, double(size_.width) / other.size_.width, double(size_.height) / other.size_.height);
    cairo_set_source_surface(cr, other.surface(), 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    // The port reads and writes the pixels directly from now on.
    cairo_surface_flush(surface());
}

std::optional<std::string> WindowFrameBuffer::WritePng(const std::filesystem::path& path) const {
    cairo_surface_flush(surface());
    return zt::host::WritePng(path, cairo_image_surface_get_data(surface()), size_.width, size_.height,
                              cairo_image_surface_get_stride(surface()));
}

} // namespace zt::host
