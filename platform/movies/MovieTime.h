// Movie time: TimeValues count milliseconds (every movie and media has the time
// scale 1000); inside, times are microseconds from the movie's origin, the
// start time of its earliest stream, so every movie starts at 0.
#pragma once

#include "Movies.h"

#include <algorithm>
#include <cstdint>

extern "C" {
#include <libavformat/avformat.h>
}

namespace zt::movies {

constexpr TimeValue kTimeScale = 1000;

inline TimeValue UsToTimeValue(int64_t us) {
    int64_t ms = us / 1000;
    return TimeValue(std::clamp<int64_t>(ms, INT32_MIN + 1, INT32_MAX));
}

inline int64_t TimeValueToUs(TimeValue t) { return int64_t(t) * 1000; }

inline int64_t MovieOriginUs(const AVFormatContext* format) {
    return format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
}

} // namespace zt::movies
