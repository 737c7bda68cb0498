// The program's exit codes, also listed in --help.
#pragma once

namespace zt::host {

enum ExitCode : int {
    kExitDone = 0,
    kExitFailed = 1,        // the plug-in failed, or output could not be written
    kExitUsage = 2,         // a bad command line
    kExitNoMovieFolder = 3, // the movie folder is missing or not a folder
    kExitBadBundle = 4,     // the bundle will not load, or does not register
    kExitBadSongs = 5,      // the song file cannot be read or is malformed
};

} // namespace zt::host
