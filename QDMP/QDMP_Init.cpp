#include "QDMP.h"

// The library needs no set-up; the system's readiness answer changes nothing.
OSStatus QDMP_Init(void) {
    (void)MPIsFullyInitialized();
    return noErr;
}
