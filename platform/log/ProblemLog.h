// Problems a platform service meets (an unreadable file, a bad argument, a port
// that is not live) go to standard error as "zoetropica <service>: <problem>".
// With oncePerProcess, each distinct line is written only the first time, so a
// fault that repeats every frame shows up without flooding the log.
#pragma once

#include <cstdarg>

namespace zt {

void LogProblem(const char* service, bool oncePerProcess, const char* format, va_list args);

} // namespace zt
