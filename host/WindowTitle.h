// The visualizer window's title: the program's name while nothing plays,
// "Artist – Title" (an en dash between) while a song plays.
#pragma once

#include <optional>
#include <string>

#include "SongScript.h"

namespace zt::host {

inline constexpr const char* kIdleWindowTitle = "Zoetropica";

// A song without an artist shows its title alone, one without a title its
// artist alone, one with neither the idle title. Bytes that are not UTF-8
// become U+FFFD, as a window title must be UTF-8.
std::string WindowTitleFor(const std::optional<Song>& song);

} // namespace zt::host
