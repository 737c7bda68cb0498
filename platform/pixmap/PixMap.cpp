// Pixel-map accessors and the block copy.
#include "QuickDraw.h"

#include <cstring>

Ptr GetPixBaseAddr(PixMapHandle pm) {
    return (pm != nullptr && *pm != nullptr) ? (*pm)->baseAddr : nullptr;
}

SInt32 GetPixRowBytes(PixMapHandle pm) {
    return (pm != nullptr && *pm != nullptr) ? (*pm)->rowBytes : 0;
}

// The ranges may overlap (a copy within one map); a null end moves nothing.
void MPBlockCopy(LogicalAddress source, LogicalAddress destination, ByteCount size) {
    if (size > 0 && source != nullptr && destination != nullptr)
        std::memmove(destination, source, size);
}

// Nothing here needs setting up: the answer is always yes.
Boolean MPIsFullyInitialized(void) {
    return 1;
}
