// QDMP: software drawing straight into the pixels of 8-, 16- and 32-bit pixel maps.
//
// Conventions for every routine below:
// - Coordinates are signed 16-bit, (h, v) = (x, y), in the map's own coordinate
//   space: the map's first pixel is (bounds.left, bounds.top); a pixel is inside
//   when left <= h < right and top <= v < bottom.
// - Pixels: depth 8 is an index into the map's colour table; 16 is x-5-5-5 and
//   32 is x-8-8-8, in native byte order, the top bit/byte written as 0 (the
//   alpha routines read the source's top byte as its alpha).
// - Routines without a depth suffix take an RGBColor and dispatch on the map's
//   pixelSize (8, 16, 32; other depths do nothing, reads give black). Routines
//   with a suffix take a ready pixel value and do nothing on a map of another
//   depth. P forms take Points in place of coordinate pairs.
// - A null handle, a null record or a null rectangle or colour pointer does
//   nothing (reads give 0 or black). Nothing is ever read or written outside a
//   map: parts of a primitive outside the bounds are dropped.
// - Any thread; the library keeps no state but the random generator's. The
//   caller owns every map and keeps its pixels in place for the call, and
//   coordinates any sharing of one map between threads.
#pragma once

#include "QuickDraw.h"

extern "C" {

// Always noErr; nothing needs setting up before the first call.
ZT_EXPORT OSStatus QDMP_Init(void);

// Rectangles and points. The rectangle routines ignore a null rectangle.
ZT_EXPORT void QDMP_Set_Rect(Rect* pRectPtr, SInt16 pLeft, SInt16 pTop, SInt16 pRight,
                             SInt16 pBottom);
ZT_EXPORT void QDMP_Offset_Rect(Rect* pRectPtr, SInt16 pDeltaH, SInt16 pDeltaV);
// Positive deltas shrink the rectangle, negative ones enlarge it.
ZT_EXPORT void QDMP_Inset_Rect(Rect* pRectPtr, SInt16 pDeltaH, SInt16 pDeltaV);
// True when A and B overlap. pRectC (may be null, may be A or B) receives the
// intersection as computed, even when empty (its top may then exceed its bottom).
ZT_EXPORT Boolean QDMP_Intersect_Rects(const Rect* pRectA, const Rect* pRectB, Rect* pRectC);
// Returns the point; also stores it into pPoint unless that is null.
ZT_EXPORT Point QDMP_Set_Point(Point* pPoint, SInt16 pH, SInt16 pV);
ZT_EXPORT Boolean QDMP_PointInRect(Point pPoint, const Rect* pRect);
// (a + b) >> 1 per coordinate, summed in 32 bits: odd sums round toward minus infinity.
ZT_EXPORT Point QDMP_MidPoint(Point pPointA, Point pPointB);
ZT_EXPORT Point QDMP_MidPointRect(const Rect* pRect);

// Single pixels. A generic read outside an 8-bit map gives colour-table entry 0.
ZT_EXPORT RGBColor QDMP_Get_Pixel(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV);
ZT_EXPORT RGBColor QDMP_Get_PixelP(PixMapHandle pPixMapHdl, Point pPoint);
ZT_EXPORT UInt8 QDMP_Get_Pixel8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV);
ZT_EXPORT UInt8 QDMP_Get_PixelP8(PixMapHandle pPixMapHdl, Point pPoint);
ZT_EXPORT UInt16 QDMP_Get_Pixel16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV);
ZT_EXPORT UInt16 QDMP_Get_PixelP16(PixMapHandle pPixMapHdl, Point pPoint);
ZT_EXPORT UInt32 QDMP_Get_Pixel32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV);
ZT_EXPORT UInt32 QDMP_Get_PixelP32(PixMapHandle pPixMapHdl, Point pPoint);
ZT_EXPORT void QDMP_Set_Pixel(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV,
                              const RGBColor* pColor);
ZT_EXPORT void QDMP_Set_PixelP(PixMapHandle pPixMapHdl, Point pPoint, const RGBColor* pColor);
ZT_EXPORT void QDMP_Set_Pixel8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt8 pColor);
ZT_EXPORT void QDMP_Set_PixelP8(PixMapHandle pPixMapHdl, Point pPoint, UInt8 pColor);
ZT_EXPORT void QDMP_Set_Pixel16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pColor);
ZT_EXPORT void QDMP_Set_PixelP16(PixMapHandle pPixMapHdl, Point pPoint, UInt16 pColor);
ZT_EXPORT void QDMP_Set_Pixel32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt32 pColor);
ZT_EXPORT void QDMP_Set_PixelP32(PixMapHandle pPixMapHdl, Point pPoint, UInt32 pColor);

// Rectangle copies between maps of one depth. Each rectangle is clipped to its
// own map; the clipped widths must be equal; rows are paired from the top and
// the copy stops at the shorter rectangle.
ZT_EXPORT void QDMP_Copy_Rect(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                              const Rect* pSrcRect, const Rect* pDstRect);
ZT_EXPORT void QDMP_Copy_Rect8(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                               const Rect* pSrcRect, const Rect* pDstRect);
ZT_EXPORT void QDMP_Copy_Rect16(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                                const Rect* pSrcRect, const Rect* pDstRect);
ZT_EXPORT void QDMP_Copy_Rect32(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                                const Rect* pSrcRect, const Rect* pDstRect);
// Blends the source over the destination by the source's top byte (32-bit maps).
// Widths must be equal; rows and columns cut from one rectangle are cut from
// both, so the image keeps its place. Each channel becomes
// (s * a >> 8) + (d * (255 - a) >> 8), at most 254; the alpha byte is written as 0.
ZT_EXPORT void QDMP_Copy_Rect32A(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                                 const Rect* pSrcRect, const Rect* pDstRect);

// Row copies: source row pSrcY, columns min(X1, X2) <= h < max(X1, X2), into
// the destination row likewise; the ranges must have equal lengths, and are
// never mirrored. Columns outside either map are cut from both.
ZT_EXPORT void QDMP_Copy_Scan(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, SInt16 pSrcY,
                              SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY, SInt16 pDstX1,
                              SInt16 pDstX2);
ZT_EXPORT void QDMP_Copy_Scan8(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, SInt16 pSrcY,
                               SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY, SInt16 pDstX1,
                               SInt16 pDstX2);
ZT_EXPORT void QDMP_Copy_Scan16(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                                SInt16 pSrcY, SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY,
                                SInt16 pDstX1, SInt16 pDstX2);
ZT_EXPORT void QDMP_Copy_Scan32(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                                SInt16 pSrcY, SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY,
                                SInt16 pDstX1, SInt16 pDstX2);
ZT_EXPORT void QDMP_Copy_Scan32A(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl,
                                 SInt16 pSrcY, SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY,
                                 SInt16 pDstX1, SInt16 pDstX2);

// Halves the whole 32-bit source into the destination's first pixels: each
// destination byte is the truncating average of a 2 x 2 block, all four bytes
// alike. An odd last column or row repeats its edge pixel; the destination
// receives only what fits inside it.
ZT_EXPORT void QDMP_DownMip32A(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl);

// Lines, both ends included (Bresenham; pixels outside the map are skipped).
ZT_EXPORT void QDMP_Draw_Line(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2,
                              SInt16 pY2, const RGBColor* pColor);
ZT_EXPORT void QDMP_Draw_Line8(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2,
                               SInt16 pY2, UInt8 pColor);
ZT_EXPORT void QDMP_Draw_Line16(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2,
                                SInt16 pY2, UInt16 pColor);
ZT_EXPORT void QDMP_Draw_Line32(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2,
                                SInt16 pY2, UInt32 pColor);
ZT_EXPORT void QDMP_Draw_LineP(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB,
                               const RGBColor* pColor);
ZT_EXPORT void QDMP_Draw_LineP8(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB,
                                UInt8 pColor);
ZT_EXPORT void QDMP_Draw_LineP16(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB,
                                 UInt16 pColor);
ZT_EXPORT void QDMP_Draw_LineP32(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB,
                                 UInt32 pColor);

// Filled rectangles, rows top <= v < bottom. The 8- and 16-bit fills include
// column `right`; the 32-bit fill stops before it.
ZT_EXPORT void QDMP_Fill_Rect(PixMapHandle pPixMapHdl, Rect pRect, const RGBColor* pColor);
ZT_EXPORT void QDMP_Fill_Rect8(PixMapHandle pPixMapHdl, Rect pRect, UInt8 pColor);
ZT_EXPORT void QDMP_Fill_Rect16(PixMapHandle pPixMapHdl, Rect pRect, UInt16 pColor);
ZT_EXPORT void QDMP_Fill_Rect32(PixMapHandle pPixMapHdl, Rect pRect, UInt32 pColor);

// Circle outlines (midpoint circle, every pixel written once).
ZT_EXPORT void QDMP_Draw_Circle(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                const RGBColor* pColor);
ZT_EXPORT void QDMP_Draw_Circle8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                 UInt8 pColor);
ZT_EXPORT void QDMP_Draw_Circle16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                  UInt16 pColor);
ZT_EXPORT void QDMP_Draw_Circle32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                  UInt32 pColor);
ZT_EXPORT void QDMP_Draw_CircleP(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                 const RGBColor* pColor);
ZT_EXPORT void QDMP_Draw_CircleP8(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                  UInt8 pColor);
ZT_EXPORT void QDMP_Draw_CircleP16(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                   UInt16 pColor);
ZT_EXPORT void QDMP_Draw_CircleP32(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                   UInt32 pColor);

// Filled circles, made of spans that stop one column short on the right.
ZT_EXPORT void QDMP_Fill_Circle(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                const RGBColor* pColor);
ZT_EXPORT void QDMP_Fill_Circle8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                 UInt8 pColor);
ZT_EXPORT void QDMP_Fill_Circle16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                  UInt16 pColor);
ZT_EXPORT void QDMP_Fill_Circle32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                                  UInt32 pColor);
ZT_EXPORT void QDMP_Fill_CircleP(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                 const RGBColor* pColor);
ZT_EXPORT void QDMP_Fill_CircleP8(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                  UInt8 pColor);
ZT_EXPORT void QDMP_Fill_CircleP16(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                   UInt16 pColor);
ZT_EXPORT void QDMP_Fill_CircleP32(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                                   UInt32 pColor);

// Quadratic curve from A to C pulled toward B, drawn as short lines.
ZT_EXPORT void QDMP_Draw_Curve(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB, Point pPointC,
                               const RGBColor* pColor);

// Random numbers from one process-wide generator with a fixed start: every
// process gets the same sequence. Safe to call from several threads (each call
// takes its own steps), but the sequence is then shared between them.
ZT_EXPORT SInt16 QDMP_RandomSInt16(void);
// pMin <= result < pMax; for pMin == pMax any 16-bit value.
ZT_EXPORT SInt16 QDMP_Random_RangeSInt16(SInt16 pMin, SInt16 pMax);
// pMin <= result <= pMax; for pMin > pMax one of the two.
ZT_EXPORT SInt32 QDMP_Random_RangeSInt32(SInt32 pMin, SInt32 pMax);

// A * (1 - f) + B * f with f the fractional part of pMix (sign kept).
ZT_EXPORT RGBColor QDMP_Mix_RGBColors(RGBColor pRGBColorA, RGBColor pRGBColorB, float pMix);
// Euclidean distance of the two colours, truncated.
ZT_EXPORT UInt32 QDMP_RGBColorDistance(RGBColor pRGBColorA, RGBColor pRGBColorB);
}
