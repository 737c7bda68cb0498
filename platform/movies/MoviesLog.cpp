#include "MoviesLog.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <new>
#include <set>
#include <string>

namespace zt::movies {

namespace {
struct LoggedLines {
    std::mutex mutex;
    std::set<std::string> lines;
};

// Never destroyed: movies may be disposed, and problems logged, at exit.
LoggedLines& Logged() {
    alignas(LoggedLines) static unsigned char storage[sizeof(LoggedLines)];
    static LoggedLines* logged = new (storage) LoggedLines;
    return *logged;
}
} // namespace

void LogMoviesProblem(const char* format, ...) {
    char line[768];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    LoggedLines& logged = Logged();
    std::lock_guard lock(logged.mutex);
    try {
        if (!logged.lines.insert(line).second) return;
    } catch (...) {
        // Memory is short: log the line anyway, without remembering it.
    }
    std::fprintf(stderr, "zoetropica movies: %s\n", line);
}

} // namespace zt::movies
