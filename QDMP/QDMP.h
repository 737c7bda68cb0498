// QDMP: software drawing into 8-, 16- and 32-bit pixel maps.
#pragma once

#include "QuickDraw.h"

extern "C" {
ZT_EXPORT OSStatus QDMP_Init(void);
}
