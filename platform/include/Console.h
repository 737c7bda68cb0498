// The console log of the plug-in. Linux has no user-writable system console, so
// the log goes to the file named by ZOETROPICA_CONSOLE when that is set, else to
// standard error.
#pragma once

#include <cstdio>

extern "C" {
// Opens the console stream for writing, unbuffered; NULL when it cannot be opened.
// Every call opens the stream afresh; the caller never closes it.
FILE* OpenConsoleStream(void);
}
