// The zoetropica program: from the command line to the exit code.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zt::host {

// Runs the program with its arguments (without the program's name); output
// meant for the person (help, where snapshots are, songs as they play) goes to
// out, errors and notes to err. The exit code is one of ExitCodes.h.
int RunProgram(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace zt::host
