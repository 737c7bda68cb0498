// Problems the drawing calls meet (a bad argument, a port that is not live, no
// font) go to standard error as "zoetropica drawing: <call>: <problem>", each
// distinct line once per process, so a fault that repeats every frame shows up
// without flooding the log.
#pragma once

namespace zt::drawing {

void LogDrawingProblem(const char* call, const char* problem);

} // namespace zt::drawing
