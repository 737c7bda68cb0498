#include "DrawingLog.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace zt::drawing {

void LogDrawingProblem(const char* call, const char* problem) {
    static std::mutex mutex;
    static std::set<std::string, std::less<>> logged;
    std::lock_guard lock(mutex);
    try {
        if (!logged.insert(std::string(call) + ": " + problem).second) return;
    } catch (...) {
        // Memory is short: log the line anyway, without remembering it.
    }
    std::fprintf(stderr, "zoetropica drawing: %s: %s\n", call, problem);
}

} // namespace zt::drawing
