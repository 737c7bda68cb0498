#include "DrawingLog.h"

#include <cstdio>
#include <mutex>
#include <new>
#include <set>
#include <string>

namespace zt::drawing {

namespace {
struct LoggedLines {
    std::mutex mutex;
    std::set<std::string, std::less<>> lines;
};

// Never destroyed, like the toolbox's state: ports may be disposed, and
// problems logged, from other objects' destructors at exit.
LoggedLines& Logged() {
    alignas(LoggedLines) static unsigned char storage[sizeof(LoggedLines)];
    static LoggedLines* logged = new (storage) LoggedLines;
    return *logged;
}
} // namespace

void LogDrawingProblem(const char* call, const char* problem) {
    LoggedLines& logged = Logged();
    std::lock_guard lock(logged.mutex);
    try {
        if (!logged.lines.insert(std::string(call) + ": " + problem).second) return;
    } catch (...) {
        // Memory is short: log the line anyway, without remembering it.
    }
    std::fprintf(stderr, "zoetropica drawing: %s: %s\n", call, problem);
}

} // namespace zt::drawing
