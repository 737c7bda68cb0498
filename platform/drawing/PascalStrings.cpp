// Zero-terminated text to a length-prefixed string.
#include "QuickDraw.h"

#include <cstring>

namespace {
constexpr size_t kMaxLength = 255;

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}
} // namespace

// Text longer than 255 bytes is cut at 255, or just before a UTF-8 character
// that would be split there, so the copy never ends in half a character. The
// two strings may be the same buffer.
void CopyCStringToPascal(const char* src, Str255 dst) {
    if (dst == nullptr) return;
    if (src == nullptr) {
        dst[0] = 0;
        return;
    }
    size_t length = strnlen(src, kMaxLength + 1);
    if (length > kMaxLength) {
        length = kMaxLength;
        const auto* bytes = reinterpret_cast<const unsigned char*>(src);
        if (IsContinuationByte(bytes[length])) {
            // Back to the lead byte of the character that the cut would split.
            size_t lead = length;
            while (lead > 0 && length - lead < 3 && IsContinuationByte(bytes[lead]))
                --lead;
            if (!IsContinuationByte(bytes[lead]) && bytes[lead] >= 0xC0) length = lead;
        }
    }
    std::memmove(dst + 1, src, length);
    dst[0] = UInt8(length);
}
