// Single-pixel reads and writes: the depth members test the handle, the depth
// and the bounds on every call; the generic ones dispatch on the map's depth.
#include "QDMP_Internal.h"
#include "QDMP_MapAccess.h"

namespace {

using namespace qdmp;

template <typename Pixel> Pixel GetPixelOfDepth(PixMapHandle pPixMapHdl, int h, int v) {
    const auto map = ViewMap(pPixMapHdl, kDepthOf<Pixel>);
    if (!map || !map->Inside(h, v)) return 0;
    return LoadPixel<Pixel>(map->At(h, v, sizeof(Pixel)));
}

template <typename Pixel> void SetPixelOfDepth(PixMapHandle pPixMapHdl, int h, int v, Pixel value) {
    const auto map = ViewMap(pPixMapHdl, kDepthOf<Pixel>);
    if (!map || !map->Inside(h, v)) return;
    StorePixel<Pixel>(map->At(h, v, sizeof(Pixel)), value);
}

} // namespace

UInt8 QDMP_Get_Pixel8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV) {
    return GetPixelOfDepth<UInt8>(pPixMapHdl, pH, pV);
}
UInt16 QDMP_Get_Pixel16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV) {
    return GetPixelOfDepth<UInt16>(pPixMapHdl, pH, pV);
}
UInt32 QDMP_Get_Pixel32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV) {
    return GetPixelOfDepth<UInt32>(pPixMapHdl, pH, pV);
}
UInt8 QDMP_Get_PixelP8(PixMapHandle pPixMapHdl, Point pPoint) {
    return QDMP_Get_Pixel8(pPixMapHdl, pPoint.h, pPoint.v);
}
UInt16 QDMP_Get_PixelP16(PixMapHandle pPixMapHdl, Point pPoint) {
    return QDMP_Get_Pixel16(pPixMapHdl, pPoint.h, pPoint.v);
}
UInt32 QDMP_Get_PixelP32(PixMapHandle pPixMapHdl, Point pPoint) {
    return QDMP_Get_Pixel32(pPixMapHdl, pPoint.h, pPoint.v);
}

void QDMP_Set_Pixel8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt8 pColor) {
    SetPixelOfDepth<UInt8>(pPixMapHdl, pH, pV, pColor);
}
void QDMP_Set_Pixel16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pColor) {
    SetPixelOfDepth<UInt16>(pPixMapHdl, pH, pV, pColor);
}
void QDMP_Set_Pixel32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt32 pColor) {
    SetPixelOfDepth<UInt32>(pPixMapHdl, pH, pV, pColor);
}
void QDMP_Set_PixelP8(PixMapHandle pPixMapHdl, Point pPoint, UInt8 pColor) {
    QDMP_Set_Pixel8(pPixMapHdl, pPoint.h, pPoint.v, pColor);
}
void QDMP_Set_PixelP16(PixMapHandle pPixMapHdl, Point pPoint, UInt16 pColor) {
    QDMP_Set_Pixel16(pPixMapHdl, pPoint.h, pPoint.v, pColor);
}
void QDMP_Set_PixelP32(PixMapHandle pPixMapHdl, Point pPoint, UInt32 pColor) {
    QDMP_Set_Pixel32(pPixMapHdl, pPoint.h, pPoint.v, pColor);
}

RGBColor QDMP_Get_Pixel(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV) {
    switch (PixelSizeOf(pPixMapHdl)) {
    // A read outside an 8-bit map gives 0, so the colour of entry 0.
    case 8:
        return FindColorByIndex(pPixMapHdl, QDMP_Get_Pixel8(pPixMapHdl, pH, pV));
    case 16:
        return Color16ToRGBColor(QDMP_Get_Pixel16(pPixMapHdl, pH, pV));
    case 32:
        return Color32ToRGBColor(QDMP_Get_Pixel32(pPixMapHdl, pH, pV));
    default:
        return RGBColor{0, 0, 0};
    }
}

RGBColor QDMP_Get_PixelP(PixMapHandle pPixMapHdl, Point pPoint) {
    return QDMP_Get_Pixel(pPixMapHdl, pPoint.h, pPoint.v);
}

void QDMP_Set_Pixel(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, const RGBColor* pColor) {
    if (pColor == nullptr) return;
    switch (PixelSizeOf(pPixMapHdl)) {
    case 8:
        QDMP_Set_Pixel8(pPixMapHdl, pH, pV, RGBColorToColor8(pPixMapHdl, pColor));
        break;
    case 16:
        QDMP_Set_Pixel16(pPixMapHdl, pH, pV, RGBColorToColor16(pColor));
        break;
    case 32:
        QDMP_Set_Pixel32(pPixMapHdl, pH, pV, RGBColorToColor32(pColor));
        break;
    default:
        break;
    }
}

void QDMP_Set_PixelP(PixMapHandle pPixMapHdl, Point pPoint, const RGBColor* pColor) {
    QDMP_Set_Pixel(pPixMapHdl, pPoint.h, pPoint.v, pColor);
}
