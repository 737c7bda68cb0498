#include "PngSnapshot.h"

#include <cairo.h>
#include <cstdio>
#include <memory>

namespace zt::host {

std::optional<std::string> WritePng(const std::filesystem::path& path, const uint8_t* pixels,
                                    int width, int height, int rowBytes) {
    // CAIRO_FORMAT_RGB24 is exactly the port's layout: 32 bits a pixel, the top
    // byte unused, red-green-blue below it in native byte order.
    if (rowBytes < cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width))
        return "the frame's rows are too short for cairo";
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_for_data(const_cast<uint8_t*>(pixels), CAIRO_FORMAT_RGB24, width,
                                            height, rowBytes),
        &cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return cairo_status_to_string(cairo_surface_status(surface.get()));

    std::filesystem::path partial = path;
    partial += ".part";
    cairo_status_t status = cairo_surface_write_to_png(surface.get(), partial.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        std::remove(partial.c_str());
        return "cannot write " + path.string() + ": " + cairo_status_to_string(status);
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        std::remove(partial.c_str());
        return "cannot write " + path.string() + ": " + ec.message();
    }
    return std::nullopt;
}

} // namespace zt::host
