// Four-character codes as text for messages: 'rvis', or 0x00ab12cd when not printable.
#pragma once

#include <cstdio>
#include <string>

#include "MacTypes.h"

namespace zt::host {

inline std::string CodeText(OSType code) {
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = char((code >> shift) & 0xff);
        if (c < 0x20 || c > 0x7e) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08x", unsigned(code));
            return hex;
        }
        text += c;
    }
    return text + "'";
}

} // namespace zt::host
