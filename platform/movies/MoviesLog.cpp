#include "MoviesLog.h"

#include "../log/ProblemLog.h"

namespace zt::movies {

void LogMoviesProblem(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogProblem("movies", true, format, args);
    va_end(args);
}

} // namespace zt::movies
