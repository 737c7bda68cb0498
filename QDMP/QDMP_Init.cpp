#include "QDMP.h"

OSStatus QDMP_Init(void) {
    MPIsFullyInitialized();
    return noErr;
}
