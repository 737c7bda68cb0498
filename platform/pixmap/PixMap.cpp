// Pixel-map accessors and the block copy.
#include "QuickDraw.h"

#include <cstring>

Ptr GetPixBaseAddr(PixMapHandle pm) {
    return (pm != nullptr && *pm != nullptr) ? (*pm)->baseAddr : nullptr;
}

SInt32 GetPixRowBytes(PixMapHandle pm) {
    return (pm != nullptr && *pm != nullptr) ? (*pm)->rowBytes : 0;
}

void MPBlockCopy(LogicalAddress source, LogicalAddress destination, ByteCount size) {
    if (size > 0) std::memmove(destination, source, size);
}

Boolean MPIsFullyInitialized(void) { return 1; }
