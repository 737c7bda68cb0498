// Conversions between RGBColor and pixel values of each depth.
#include "QDMP_Internal.h"

namespace {

// The table behind a map, or null when the handle, the record or the table
// (handle or master pointer) is missing.
const ColorTable* TableOf(PixMapHandle pPixMapHdl) {
    if (pPixMapHdl == nullptr || *pPixMapHdl == nullptr) return nullptr;
    CTabHandle table = (*pPixMapHdl)->pmTable;
    if (table == nullptr) return nullptr;
    return *table;
}

SInt64 Square(SInt32 x) {
    return SInt64(x) * x;
}

} // namespace

UInt8 RGBColorToColor8(PixMapHandle pPixMapHdl, const RGBColor* pColor) {
    const ColorTable* table = TableOf(pPixMapHdl);
    if (table == nullptr || pColor == nullptr || table->ctSize < 0) return 255;
    // The entries follow the header; ctTable is declared with one.
    const ColorSpec* entries = table->ctTable;
    const int count = int(table->ctSize) + 1;
    int best = 0;
    SInt64 bestDistance = -1;
    for (int i = 0; i < count; ++i) {
        const RGBColor& rgb = entries[i].rgb;
        const SInt64 distance = Square(SInt32(pColor->red) - rgb.red) +
                                Square(SInt32(pColor->green) - rgb.green) +
                                Square(SInt32(pColor->blue) - rgb.blue);
        if (bestDistance < 0 || distance < bestDistance) { // ties keep the lower position
            best = i;
            bestDistance = distance;
        }
    }
    return UInt8(best);
}

UInt16 RGBColorToColor16(const RGBColor* pColor) {
    if (pColor == nullptr) return 0;
    return UInt16(((pColor->red >> 1) & 0x7C00) | ((pColor->green >> 6) & 0x03E0) |
                  (pColor->blue >> 11));
}

UInt32 RGBColorToColor32(const RGBColor* pColor) {
    if (pColor == nullptr) return 0;
    return (UInt32(pColor->red >> 8) << 16) | (UInt32(pColor->green >> 8) << 8) |
           UInt32(pColor->blue >> 8);
}

RGBColor Color16ToRGBColor(UInt32 pColor16) {
    // The five bits go to the top and are repeated in the lowest five only.
    auto widen = [](UInt32 x) { return UInt16((x << 11) | x); };
    return RGBColor{widen((pColor16 >> 10) & 0x1F), widen((pColor16 >> 5) & 0x1F),
                    widen(pColor16 & 0x1F)};
}

RGBColor Color32ToRGBColor(UInt32 pColor32) {
    auto widen = [](UInt32 x) { return UInt16((x << 8) | x); };
    return RGBColor{widen((pColor32 >> 16) & 0xFF), widen((pColor32 >> 8) & 0xFF),
                    widen(pColor32 & 0xFF)};
}

RGBColor FindColorByIndex(PixMapHandle pPixMapHdl, SInt16 pIndex) {
    const ColorTable* table = TableOf(pPixMapHdl);
    // An empty table or a negative index has no entry to give: black.
    if (table == nullptr || table->ctSize < 0 || pIndex < 0) return RGBColor{0, 0, 0};
    const ColorSpec* entries = table->ctTable;
    return entries[pIndex % (int(table->ctSize) + 1)].rgb;
}
