// Song text as players report it: fields padded with blanks, and fields that
// hold several entries joined by ';' ("Electronic;Ambient"). The visualizer
// matches one genre and one artist, so the first entry is the one kept.
#pragma once

#include <string>
#include <string_view>

namespace zt::host {

// The text without blanks (spaces, tabs, line ends) at either end.
std::string TrimmedField(std::string_view text);

// The first non-empty entry of a ';'-joined field, trimmed ("" when none).
std::string FirstFieldEntry(std::string_view joined);

} // namespace zt::host
