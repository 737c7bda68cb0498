// Lines and spans.
#include "QDMP_Drawing.h"
#include "QDMP_Internal.h"

using namespace qdmp;

namespace {

template <typename Pixel> void DrawScan(PixMapHandle handle, int v, int x1, int x2, Pixel value) {
    if (const auto map = ViewMap(handle, kDepthOf<Pixel>))
        FillSpan<Pixel>(*map, v, Ordered(x1, x2), value);
}

} // namespace

void Draw_Scan8(PixMapHandle pPixMapHdl, SInt16 pV, SInt16 pX1, SInt16 pX2, UInt8 pColor) {
    DrawScan<UInt8>(pPixMapHdl, pV, pX1, pX2, pColor);
}
void Draw_Scan16(PixMapHandle pPixMapHdl, SInt16 pV, SInt16 pX1, SInt16 pX2, UInt16 pColor) {
    DrawScan<UInt16>(pPixMapHdl, pV, pX1, pX2, pColor);
}
void Draw_Scan32(PixMapHandle pPixMapHdl, SInt16 pV, SInt16 pX1, SInt16 pX2, UInt32 pColor) {
    DrawScan<UInt32>(pPixMapHdl, pV, pX1, pX2, pColor);
}

void QDMP_Draw_Line8(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2, SInt16 pY2,
                     UInt8 pColor) {
    DrawLine<UInt8>(pPixMapHdl, pX1, pY1, pX2, pY2, pColor);
}
void QDMP_Draw_Line16(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2, SInt16 pY2,
                      UInt16 pColor) {
    DrawLine<UInt16>(pPixMapHdl, pX1, pY1, pX2, pY2, pColor);
}
void QDMP_Draw_Line32(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2, SInt16 pY2,
                      UInt32 pColor) {
    DrawLine<UInt32>(pPixMapHdl, pX1, pY1, pX2, pY2, pColor);
}

void QDMP_Draw_Line(PixMapHandle pPixMapHdl, SInt16 pX1, SInt16 pY1, SInt16 pX2, SInt16 pY2,
                    const RGBColor* pColor) {
    if (pColor == nullptr) return;
    switch (PixelSizeOf(pPixMapHdl)) {
    case 8:
        QDMP_Draw_Line8(pPixMapHdl, pX1, pY1, pX2, pY2, RGBColorToColor8(pPixMapHdl, pColor));
        break;
    case 16:
        QDMP_Draw_Line16(pPixMapHdl, pX1, pY1, pX2, pY2, RGBColorToColor16(pColor));
        break;
    case 32:
        QDMP_Draw_Line32(pPixMapHdl, pX1, pY1, pX2, pY2, RGBColorToColor32(pColor));
        break;
    default:
        break;
    }
}

void QDMP_Draw_LineP(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB,
                     const RGBColor* pColor) {
    QDMP_Draw_Line(pPixMapHdl, pPointA.h, pPointA.v, pPointB.h, pPointB.v, pColor);
}
void QDMP_Draw_LineP8(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB, UInt8 pColor) {
    QDMP_Draw_Line8(pPixMapHdl, pPointA.h, pPointA.v, pPointB.h, pPointB.v, pColor);
}
void QDMP_Draw_LineP16(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB, UInt16 pColor) {
    QDMP_Draw_Line16(pPixMapHdl, pPointA.h, pPointA.v, pPointB.h, pPointB.v, pColor);
}
void QDMP_Draw_LineP32(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB, UInt32 pColor) {
    QDMP_Draw_Line32(pPixMapHdl, pPointA.h, pPointA.v, pPointB.h, pPointB.v, pColor);
}
