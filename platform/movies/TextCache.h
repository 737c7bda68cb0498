// The on-disk cache of text samples: one file per movie under
// $XDG_CACHE_HOME/zoetropica/text/ (~/.cache when unset), named by a hash of
// the movie's path and holding the path, the movie file's size and modification
// time, and its text tracks' samples (plain and folded). A cache file whose key
// does not match the movie file as it is now is ignored and then replaced.
// Written to a temporary file and renamed, so a reader never sees half of one.
#pragma once

#include "TrackText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zt::movies {

struct TextCacheKey {
    std::string path;
    int64_t size = 0;
    int64_t modifiedNs = 0;
};

std::optional<std::vector<TrackText>> ReadTextCache(const TextCacheKey& key, const std::vector<int>& streams);
void WriteTextCache(const TextCacheKey& key, const std::vector<TrackText>& tracks);

// The cache file for a path (for tests); empty when there is no cache folder.
std::string TextCacheFile(const std::string& path);

} // namespace zt::movies
