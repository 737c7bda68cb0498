// Problems the folder service meets (an unreadable catalog, a catalog that
// cannot be saved) go to standard error as "zoetropica files: <problem>".
#pragma once

namespace zt::files {

void LogFilesProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace zt::files
