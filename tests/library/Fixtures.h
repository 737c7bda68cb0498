// Movie folders for the plug-in's tests, made once per test run in a temporary
// folder with the movie maker tool.
#pragma once

#include <string>
#include <vector>

#include "iTunesVisualAPI.h"
#include "PascalString.h"

namespace zt::test {

// A new empty folder under the test run's temporary folder.
std::string MakeEmptyFolder();
// n copies of one small movie with a picture track, named m0000.mp4, m0001.mp4 ...
std::string MakeCopiesFolder(int n);
// Three movies whose text names "Jazz"; the first also names "Rock".
std::string MakeKeywordFolder();
// The builders' folder: see BuilderTest.cpp.
std::string MakeBuilderFolder();
// Runs the movie maker (see its --help) to make path.
void MakeMovie(const std::string& path, const std::vector<std::string>& arguments);
// Makes one small movie at path with a picture track and one text sample per entry.
void MakeTextMovie(const std::string& path, const std::vector<std::string>& samples);

// Fills the four song strings of a track record.
void SetSong(ITTrackInfo& track, const std::string& genre, const std::string& artist,
             const std::string& album, const std::string& title);

} // namespace zt::test
