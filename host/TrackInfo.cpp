#include "TrackInfo.h"

#include <cstring>

#include "Utf8.h"

namespace zt::host {

void SetSongString(Str255 dest, std::string_view text) {
    std::string_view cut = CutAtCharacterBoundary(text, 255);
    std::memset(dest, 0, sizeof(Str255));
    dest[0] = static_cast<unsigned char>(cut.size());
    std::memcpy(dest + 1, cut.data(), cut.size());
}

ITTrackInfo TrackInfoForSong(const Song& song) {
    ITTrackInfo track{};
    SetSongString(track.name, song.title);
    SetSongString(track.artist, song.artist);
    SetSongString(track.album, song.album);
    SetSongString(track.genre, song.genre);
    SetSongString(track.kind, "Scripted song");
    return track;
}

} // namespace zt::host
