// The library's own helpers: colour conversions, the span writer and the point
// distance. Not exported (the library is built with hidden visibility).
#pragma once

#include "QDMP.h"

// Nearest colour-table entry by squared RGB distance (lowest position on ties),
// as an 8-bit index; 255 without a table, a colour or entries.
UInt8 RGBColorToColor8(PixMapHandle pPixMapHdl, const RGBColor* pColor);
// The upper 5 (16-bit) or 8 (32-bit) bits of each component; 0 for a null colour.
UInt16 RGBColorToColor16(const RGBColor* pColor);
UInt32 RGBColorToColor32(const RGBColor* pColor);
// Each 5-bit component x becomes (x << 11) | x: 31 gives 0xF81F.
RGBColor Color16ToRGBColor(UInt32 pColor16);
// Each byte x becomes (x << 8) | x.
RGBColor Color32ToRGBColor(UInt32 pColor32);
// The colour of table entry pIndex modulo the table size; black without a
// table, for an empty table and for a negative index.
RGBColor FindColorByIndex(PixMapHandle pPixMapHdl, SInt16 pIndex);

// Horizontal span on row pV, min(X1, X2) <= h < max(X1, X2), cut to the map.
void Draw_Scan8(PixMapHandle pPixMapHdl, SInt16 pV, SInt16 pX1, SInt16 pX2, UInt8 pColor);
void Draw_Scan16(PixMapHandle pPixMapHdl, SInt16 pV, SInt16 pX1, SInt16 pX2, UInt16 pColor);
void Draw_Scan32(PixMapHandle pPixMapHdl, SInt16 pV, SInt16 pX1, SInt16 pX2, UInt32 pColor);

// Squared distance; each difference is taken in 16 bits.
UInt32 distance_squared(Point pPointA, Point pPointB);

namespace qdmp {

// Starts the random generator's sequence over, as at process start (tests).
void ResetRandomGenerator();

} // namespace qdmp
