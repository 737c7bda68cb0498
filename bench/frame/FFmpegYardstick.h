// The yardsticks: what FFmpeg alone takes for the work the movie service does.
#pragma once

#include <string>
#include <vector>

namespace zt::bench {

struct DecodeFigures {
    double cpuSeconds = 0;  // process CPU time, all threads (getrusage)
    double wallSeconds = 0;
    int frames = 0;
};

// Decodes the first `seconds` of the movie's pictures with libavcodec (one
// decoding thread, as the movie service sets it) and scales each frame to
// width x height x-8-8-8 with libswscale (bilinear, as the movie service does).
DecodeFigures DecodeAndScale(const std::string& path, double seconds, int width, int height);

// avformat_open_input and avformat_close_input of every file: seconds in all.
double OpenAndClose(const std::vector<std::string>& paths);

// Process CPU time so far (user and system, all threads), in seconds.
double ProcessCpuSeconds();

} // namespace zt::bench
