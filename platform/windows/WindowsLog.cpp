#include "WindowsLog.h"

#include "../log/ProblemLog.h"

namespace zt::windows {

void LogWindowsProblem(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogProblem("windows", false, format, args);
    va_end(args);
}

} // namespace zt::windows
