// Circle outlines and filled circles: a midpoint circle over one octant,
// mirrored. Coordinates are ints, so a circle near the 16-bit edge is cut at
// the map's bounds rather than wrapped round to the other side.
#include "QDMP_Drawing.h"
#include "QDMP_Internal.h"

using namespace qdmp;

namespace {

// Visits the octant points (x, y), x from 0 up while x <= y, with the decision
// variable updated after x steps (4x + 6, or 4(x - y) + 10 and y down by one).
template <typename Visit> void ForEachOctantPoint(int radius, Visit visit) {
    int x = 0, y = radius, d = 3 - 2 * radius;
    do {
        visit(x, y);
        ++x;
        if (d < 0) {
            d += 4 * x + 6;
        } else {
            d += 4 * (x - y) + 10;
            --y;
        }
    } while (x <= y);
}

// True when the square about the circle lies wholly outside the map.
bool MissesMap(const MapView& map, int h, int v, int radius) {
    return h + radius < map.bounds.left || h - radius >= map.bounds.right ||
           v + radius < map.bounds.top || v - radius >= map.bounds.bottom;
}

// Each mirror that would repeat a pixel (an offset of 0, or x == y) is left out.
template <typename Pixel>
void DrawCircle(PixMapHandle handle, int h, int v, int radius, Pixel value) {
    const auto map = ViewMap(handle, kDepthOf<Pixel>);
    if (!map || MissesMap(*map, h, v, radius)) return;
    auto plot = [&](int ph, int pv) {
        if (map->Inside(ph, pv)) StorePixel<Pixel>(map->At(ph, pv, sizeof(Pixel)), value);
    };
    ForEachOctantPoint(radius, [&](int x, int y) {
        plot(h - x, v - y);
        if (y != 0) plot(h - x, v + y);
        if (x != 0) {
            plot(h + x, v - y);
            if (y != 0) plot(h + x, v + y);
        }
        if (x != y) {
            plot(h - y, v - x);
            if (x != 0) plot(h - y, v + x);
            if (y != 0) {
                plot(h + y, v - x);
                if (x != 0) plot(h + y, v + x);
            }
        }
    });
}

// Up to four spans per octant point; each stops one column short of h + x
// (h + y), so radius 0 draws nothing. Rows written twice get the same pixels.
template <typename Pixel>
void FillCircle(PixMapHandle handle, int h, int v, int radius, Pixel value) {
    const auto map = ViewMap(handle, kDepthOf<Pixel>);
    if (!map || MissesMap(*map, h, v, radius)) return;
    ForEachOctantPoint(radius, [&](int x, int y) {
        FillSpan<Pixel>(*map, v - y, Range{h - x, h + x}, value);
        if (y != 0) FillSpan<Pixel>(*map, v + y, Range{h - x, h + x}, value);
        FillSpan<Pixel>(*map, v - x, Range{h - y, h + y}, value);
        if (x != 0) FillSpan<Pixel>(*map, v + x, Range{h - y, h + y}, value);
    });
}

} // namespace

void QDMP_Draw_Circle8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                       UInt8 pColor) {
    DrawCircle<UInt8>(pPixMapHdl, pH, pV, pRadius, pColor);
}
void QDMP_Draw_Circle16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                        UInt16 pColor) {
    DrawCircle<UInt16>(pPixMapHdl, pH, pV, pRadius, pColor);
}
void QDMP_Draw_Circle32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                        UInt32 pColor) {
    DrawCircle<UInt32>(pPixMapHdl, pH, pV, pRadius, pColor);
}

void QDMP_Draw_Circle(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                      const RGBColor* pColor) {
    if (pColor == nullptr) return;
    switch (PixelSizeOf(pPixMapHdl)) {
    case 8:
        QDMP_Draw_Circle8(pPixMapHdl, pH, pV, pRadius, RGBColorToColor8(pPixMapHdl, pColor));
        break;
    case 16:
        QDMP_Draw_Circle16(pPixMapHdl, pH, pV, pRadius, RGBColorToColor16(pColor));
        break;
    case 32:
        QDMP_Draw_Circle32(pPixMapHdl, pH, pV, pRadius, RGBColorToColor32(pColor));
        break;
    default:
        break;
    }
}

void QDMP_Draw_CircleP(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                       const RGBColor* pColor) {
    QDMP_Draw_Circle(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}
void QDMP_Draw_CircleP8(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius, UInt8 pColor) {
    QDMP_Draw_Circle8(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}
void QDMP_Draw_CircleP16(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius, UInt16 pColor) {
    QDMP_Draw_Circle16(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}
void QDMP_Draw_CircleP32(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius, UInt32 pColor) {
    QDMP_Draw_Circle32(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}

void QDMP_Fill_Circle8(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                       UInt8 pColor) {
    FillCircle<UInt8>(pPixMapHdl, pH, pV, pRadius, pColor);
}
void QDMP_Fill_Circle16(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                        UInt16 pColor) {
    FillCircle<UInt16>(pPixMapHdl, pH, pV, pRadius, pColor);
}
void QDMP_Fill_Circle32(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                        UInt32 pColor) {
    FillCircle<UInt32>(pPixMapHdl, pH, pV, pRadius, pColor);
}

void QDMP_Fill_Circle(PixMapHandle pPixMapHdl, SInt16 pH, SInt16 pV, UInt16 pRadius,
                      const RGBColor* pColor) {
    if (pColor == nullptr) return;
    switch (PixelSizeOf(pPixMapHdl)) {
    case 8:
        QDMP_Fill_Circle8(pPixMapHdl, pH, pV, pRadius, RGBColorToColor8(pPixMapHdl, pColor));
        break;
    case 16:
        QDMP_Fill_Circle16(pPixMapHdl, pH, pV, pRadius, RGBColorToColor16(pColor));
        break;
    case 32:
        QDMP_Fill_Circle32(pPixMapHdl, pH, pV, pRadius, RGBColorToColor32(pColor));
        break;
    default:
        break;
    }
}

void QDMP_Fill_CircleP(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius,
                       const RGBColor* pColor) {
    QDMP_Fill_Circle(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}
void QDMP_Fill_CircleP8(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius, UInt8 pColor) {
    QDMP_Fill_Circle8(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}
void QDMP_Fill_CircleP16(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius, UInt16 pColor) {
    QDMP_Fill_Circle16(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}
void QDMP_Fill_CircleP32(PixMapHandle pPixMapHdl, Point pCenter, UInt16 pRadius, UInt32 pColor) {
    QDMP_Fill_Circle32(pPixMapHdl, pCenter.h, pCenter.v, pRadius, pColor);
}
