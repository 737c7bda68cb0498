// The host's track record for a song: its four strings as Str255, each cut to
// 255 bytes at a UTF-8 character boundary.
#pragma once

#include <string_view>

#include "SongScript.h"
#include "iTunesVisualAPI.h"

namespace zt::host {

// Sets a length-prefixed string from text, cut to 255 bytes at a character
// boundary; the bytes after it are zero.
void SetSongString(Str255 dest, std::string_view text);

ITTrackInfo TrackInfoForSong(const Song& song);

} // namespace zt::host
