// The console stream: $ZOETROPICA_CONSOLE when set, else standard error.
#include "Console.h"

#include <cstdlib>
#include <unistd.h>

FILE* OpenConsoleStream(void) {
    FILE* stream = nullptr;
    const char* path = std::getenv("ZOETROPICA_CONSOLE");
    if (path != nullptr && *path != '\0') {
        stream = std::fopen(path, "a");
    } else {
        // A stream of its own on standard error, so the caller may treat it as its own.
        int fd = dup(STDERR_FILENO);
        if (fd >= 0) {
            stream = fdopen(fd, "w");
            if (stream == nullptr) close(fd);
        }
    }
    if (stream != nullptr) setvbuf(stream, nullptr, _IONBF, 0);
    return stream;
}
