// Length-prefixed strings for tests.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "MacTypes.h"

namespace zt::test {

// A Str255 from text, cut at 255 bytes.
inline void SetPascal(Str255 dest, const std::string& text) {
    size_t n = std::min<size_t>(text.size(), 255);
    dest[0] = UInt8(n);
    std::memcpy(dest + 1, text.data(), n);
}

} // namespace zt::test
