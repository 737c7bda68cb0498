// Reading the text samples of a movie's text tracks, from the on-disk cache
// when it holds them for this file as it is now, else from the movie file (only
// the text streams' packets are read; in Matroska that means the whole file),
// after which the cache is written.
#pragma once

#include "TrackText.h"

#include <optional>
#include <string>
#include <vector>

namespace zt::movies {

// One TrackText per stream index asked for, in that order; nullopt when the
// file cannot be read (it vanished or changed into something else).
std::optional<std::vector<TrackText>> LoadTextTracks(const std::string& path, const std::vector<int>& streams);

// The same, straight from the file, without the cache.
std::optional<std::vector<TrackText>> ReadTextTracksFromFile(const std::string& path,
                                                             const std::vector<int>& streams);

} // namespace zt::movies
