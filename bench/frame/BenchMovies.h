// The movies the frame benchmarks play, made once into a cache folder in the
// build tree (outside any timed part) and kept for later runs.
#pragma once

#include <string>

namespace zt::bench {

// Points the catalog, the text cache and the console log of this program at
// folders beside the cache, never at the user's own.
void UseBenchFolders();
// A folder holding one 12 s, 30 fps, 1920x1080 H.264 (yuv420p) movie of a
// moving test pattern, made with the ffmpeg command.
std::string FullHdMovieFolder();
// The movie inside FullHdMovieFolder().
std::string FullHdMoviePath();
// A folder of 1000 small movies: one made with the movie maker, copied.
std::string ThousandMoviesFolder();

} // namespace zt::bench
