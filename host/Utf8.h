// UTF-8 helpers for song strings: validity, and cutting to a byte limit without
// splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace zt::host {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The longest prefix of text of at most maxBytes bytes that does not end inside
// a multi-byte character. Bytes that are not UTF-8 count as characters of one byte.
std::string_view CutAtCharacterBoundary(std::string_view text, size_t maxBytes);

} // namespace zt::host
