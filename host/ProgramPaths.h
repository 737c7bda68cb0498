// Where the program finds the plug-in and the demo: in the build tree when it
// runs from there, else where the install put them beside it.
#pragma once

#include <filesystem>

namespace zt::host {

struct ProgramPaths {
    std::filesystem::path bundle;     // the bundle folder
    std::filesystem::path demoFolder; // holds movies/ and songs.txt
};

ProgramPaths FindProgramPaths();

} // namespace zt::host
