// Decoding the bytes of a length-prefixed string as UTF-8. A byte that does not
// start a well-formed sequence stands for itself as U+FFFD, so any bytes decode.
#pragma once

#include <cstddef>
#include <span>

namespace zt::drawing {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Calls `each(codePoint)` for every character of `bytes`, in order.
template <typename Each> void ForEachCodePoint(std::span<const unsigned char> bytes, Each&& each) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = bytes[i];
        int extra = 0;
        char32_t value = 0, minimum = 0;
        if (lead < 0x80) {
            each(char32_t(lead));
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, value = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, value = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, value = lead & 0x07, minimum = 0x10000;
        } else {
            each(kReplacementCharacter);
            ++i;
            continue;
        }
        size_t k = 1;
        for (; k <= size_t(extra) && i + k < bytes.size() && (bytes[i + k] & 0xC0) == 0x80; ++k)
            value = (value << 6) | (bytes[i + k] & 0x3F);
        const bool complete = k == size_t(extra) + 1;
        const bool valid = complete && value >= minimum && value <= 0x10FFFF &&
                           !(value >= 0xD800 && value <= 0xDFFF);
        each(valid ? value : kReplacementCharacter);
        i += k; // a broken sequence is skipped as far as it was read
    }
}

} // namespace zt::drawing
