// The text samples of one text track, ready for search: each sample's plain
// text and its folded text, laid end to end (each followed by a NUL byte) in
// two buffers, so one memmem scans a whole track. Immutable once loaded.
#pragma once

#include "Movies.h"

#include <string>
#include <vector>

namespace zt::movies {

struct TextSample {
    TimeValue start = 0;    // milliseconds from the movie's start
    TimeValue duration = 0; // milliseconds
    UInt32 plainOffset = 0; // where the sample's text starts in TrackText::plain
    UInt32 foldedOffset = 0;
};

struct TrackText {
    int streamIndex = -1;
    std::vector<TextSample> samples; // by start time
    std::string plain;
    std::string folded;

    // Adds a sample whose plain text is not empty (callers drop empty ones).
    void Add(TimeValue start, TimeValue duration, const std::string& text, const std::string& foldedText);
};

} // namespace zt::movies
