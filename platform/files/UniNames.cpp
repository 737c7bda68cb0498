#include "UniNames.h"

namespace zt::files {

// UTF-8 bytes to at most 255 UTF-16 units; a malformed byte becomes U+FFFD.
void FillUniName(const std::string& name, HFSUniStr255& out) {
    out.length = 0;
    size_t i = 0;
    auto put = [&out](UInt16 unit) {
        if (out.length < 255) out.unicode[out.length++] = unit;
    };
    while (i < name.size() && out.length < 255) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        UInt32 code = 0xFFFD;
        size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool ok = length != 0 && i + length <= name.size();
        if (ok) {
            code = length == 1 ? c : c & (0x7F >> length);
            for (size_t k = 1; k < length; ++k) {
                unsigned char d = static_cast<unsigned char>(name[i + k]);
                ok = ok && (d & 0xC0) == 0x80;
                code = code << 6 | (d & 0x3F);
            }
            static constexpr UInt32 kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
            ok = ok && code >= kSmallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        }
        if (!ok) {
            put(0xFFFD);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            if (out.length > 253) break; // a pair would not fit
            put(UInt16(0xD800 + ((code - 0x10000) >> 10)));
            put(UInt16(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            put(UInt16(code));
        }
        i += length;
    }
}

} // namespace zt::files
