// Finding a keyword in a track's samples: forward or backward from a start time,
// optionally wrapping around; never across two samples.
#pragma once

#include "TrackText.h"

#include <optional>
#include <string_view>

namespace zt::movies {

struct TextMatch {
    size_t sample = 0;   // index in TrackText::samples
    size_t offset = 0;   // bytes from the start of the sample's searched text
};

// `keyword` is already folded when `caseSensitive` is false (and is searched in
// the folded texts), else it is searched in the plain texts. Empty finds nothing.
std::optional<TextMatch> FindText(const TrackText& track, std::string_view keyword, bool caseSensitive,
                                  SInt16 findFlags, TimeValue startTime);

} // namespace zt::movies
