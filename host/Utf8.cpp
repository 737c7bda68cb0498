#include "Utf8.h"

#include <cstdint>

namespace zt::host {
namespace {

// The length of the well-formed character starting at text[i], or 0.
size_t CharacterLength(std::string_view text, size_t i) {
    auto byte = [&](size_t k) { return uint8_t(text[k]); };
    uint8_t lead = byte(i);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        size_t length = CharacterLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string_view CutAtCharacterBoundary(std::string_view text, size_t maxBytes) {
    size_t end = 0;
    while (end < text.size()) {
        size_t length = CharacterLength(text, end);
        if (length == 0) length = 1;
        if (end + length > maxBytes) break;
        end += length;
    }
    return text.substr(0, end);
}

} // namespace zt::host
