// Problems the window service meets (a nib that cannot be read, a bad
// argument) go to standard error as "zoetropica windows: <problem>".
#pragma once

namespace zt::windows {

void LogWindowsProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace zt::windows
