#include "ProblemLog.h"

#include <cstdio>
#include <mutex>
#include <new>
#include <set>
#include <string>

namespace zt {

namespace {
struct LoggedLines {
    std::mutex mutex;
    std::set<std::string> lines;
};

// Never destroyed, like the toolbox's state: movies and ports may be disposed,
// and problems logged, from other objects' destructors at exit.
LoggedLines& Logged() {
    alignas(LoggedLines) static unsigned char storage[sizeof(LoggedLines)];
    static LoggedLines* logged = new (storage) LoggedLines;
    return *logged;
}
} // namespace

void LogProblem(const char* service, bool oncePerProcess, const char* format, va_list args) {
    char line[768];
    std::vsnprintf(line, sizeof line, format, args);
    if (oncePerProcess) {
        LoggedLines& logged = Logged();
        std::lock_guard lock(logged.mutex);
        try {
            if (!logged.lines.insert(line).second) return;
        } catch (...) {
            // Memory is short: log the line anyway, without remembering it.
        }
    }
    std::fprintf(stderr, "zoetropica %s: %s\n", service, line);
}

} // namespace zt
