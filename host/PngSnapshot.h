// Writing a frame buffer (32-bit x-8-8-8 pixels in native byte order, as the
// visualizer port holds them) to a PNG file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zt::host {

// Writes the pixels to path through a temporary file renamed into place, so a
// reader never sees half a picture. The reason on failure.
std::optional<std::string> WritePng(const std::filesystem::path& path, const uint8_t* pixels,
                                    int width, int height, int rowBytes);

} // namespace zt::host
