// Movies for the movie service's tests, made with the movie maker once per
// build and kept in the build directory; private state and cache folders per
// test process; and opening a movie by path as the plug-in does.
#pragma once

#include "Movies.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zt::test {

// The path of a fixture made by `moviemaker <arguments> <folder>/<name>`, made
// on first use (by whichever test process gets there first).
std::string Fixture(const std::string& name, const std::string& arguments);

// A new empty folder of this test process (removed at exit).
std::string ScratchFolder();

int OpenDescriptorCount();
int ThreadCount();

// The FSSpec of a path, through the folder service's own calls.
FSSpec SpecOf(const std::string& path);

struct MovieDeleter {
    void operator()(MovieRecord* movie) const { DisposeMovie(movie); }
};
using MoviePtr = std::unique_ptr<MovieRecord, MovieDeleter>;

// Opens as the plug-in does: OpenMovieFile read only, NewMovieFromFile with
// newMovieActive, CloseMovieFile. The error is that of the first call to fail.
OSErr OpenMovie(const std::string& path, MoviePtr& movie);
MoviePtr OpenMovieOrFail(const std::string& path);

std::vector<OSType> MediaTypes(Movie movie);
std::string TypeName(OSType type);

// Searches one track (index from 1) the way the plug-in does: find flags 1, start 0.
struct Found {
    TimeValue time = -1;
    TimeValue duration = 0;
    SInt32 offset = 0;
    ComponentResult result = 0;
};
Found Search(Movie movie, SInt32 trackIndex, const std::string& keyword, SInt16 flags = findTextEdgeOK,
             TimeValue start = 0);

} // namespace zt::test
