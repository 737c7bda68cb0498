// Memory calls over the C heap.
#include "MacMemory.h"

#include <cstdlib>
#include <cstring>

Ptr NewPtrClear(Size byteCount) {
    if (byteCount < 0) return nullptr;
    // calloc(0) may return NULL; a zero-sized block is still a valid block.
    return static_cast<Ptr>(std::calloc(1, byteCount > 0 ? size_t(byteCount) : 1));
}

Ptr NewPtr(Size byteCount) {
    if (byteCount < 0) return nullptr;
    return static_cast<Ptr>(std::malloc(byteCount > 0 ? size_t(byteCount) : 1));
}

void DisposePtr(Ptr p) { std::free(p); }

void BlockMoveData(const void* srcPtr, void* destPtr, Size byteCount) {
    if (byteCount <= 0) return;
    std::memmove(destPtr, srcPtr, size_t(byteCount));
}
