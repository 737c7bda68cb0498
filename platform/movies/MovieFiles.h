// The movie files opened by OpenMovieFile, by reference number: each holds its
// descriptor until CloseMovieFile.
#pragma once

#include "MacTypes.h"

#include <optional>
#include <string>

namespace zt::movies {

struct OpenMovieFileInfo {
    int fd = -1;       // stays the table's: callers duplicate it to keep it
    std::string path;
};

// The open file behind a reference number; nullopt when it is not open.
std::optional<OpenMovieFileInfo> FindOpenMovieFile(SInt16 refNum);

} // namespace zt::movies
