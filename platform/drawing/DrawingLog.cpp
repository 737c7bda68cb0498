#include "DrawingLog.h"

#include "../log/ProblemLog.h"

namespace zt::drawing {

// Keeps the "<call>: <problem>" shape of the drawing service's lines.
static void LogLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    zt::LogProblem("drawing", true, format, args);
    va_end(args);
}

void LogDrawingProblem(const char* call, const char* problem) { LogLine("%s: %s", call, problem); }

} // namespace zt::drawing
