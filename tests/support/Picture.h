// A picture the tests look at: the pixels of a PNG snapshot or a cairo
// surface, as x-8-8-8 values with the top byte cleared.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace zt::test {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    // The share of pixels within 40 of the colour in each component.
    double ShareNear(uint32_t colour) const {
        if (pixels.empty()) return 0;
        size_t near = 0;
        for (uint32_t p : pixels) {
            bool close = true;
            for (int shift : {0, 8, 16})
                close = close && std::abs(int((p >> shift) & 0xff) - int((colour >> shift) & 0xff)) <= 40;
            near += close;
        }
        return double(near) / double(pixels.size());
    }
};

inline Picture PictureOf(cairo_surface_t* surface) {
    Picture picture;
    cairo_surface_flush(surface);
    picture.width = cairo_image_surface_get_width(surface);
    picture.height = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xffffff);
    return picture;
}

// Empty when the file is not a PNG that cairo reads.
inline Picture LoadPng(const std::filesystem::path& file) {
    Picture picture;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(file.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) picture = PictureOf(surface);
    cairo_surface_destroy(surface);
    return picture;
}

} // namespace zt::test
