#include "FilesLog.h"

#include "../log/ProblemLog.h"

namespace zt::files {

void LogFilesProblem(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogProblem("files", false, format, args);
    va_end(args);
}

} // namespace zt::files
