#include "FilesLog.h"

#include <cstdarg>
#include <cstdio>

namespace zt::files {

void LogFilesProblem(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fprintf(stderr, "zoetropica files: %s\n", line);
}

} // namespace zt::files
