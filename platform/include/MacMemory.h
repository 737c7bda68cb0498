// Memory calls the plug-in makes: zero-filled blocks and raw moves.
#pragma once

#include "MacTypes.h"

extern "C" {
// A zero-filled block of byteCount bytes; NULL when memory is short (or byteCount < 0).
Ptr NewPtrClear(Size byteCount);
// A block of byteCount bytes, contents unset; NULL when memory is short.
Ptr NewPtr(Size byteCount);
// Frees a block from NewPtr/NewPtrClear; NULL is allowed and does nothing.
void DisposePtr(Ptr p);
// Copies byteCount bytes; the ranges may overlap. A count of 0 or less moves nothing.
void BlockMoveData(const void* srcPtr, void* destPtr, Size byteCount);
}
