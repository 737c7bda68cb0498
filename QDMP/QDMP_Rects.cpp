// Filled rectangles. The 8- and 16-bit fills draw a line per row, so column
// `right` is filled too; the 32-bit fill writes a span per row, which stops
// before it. Rows outside the map are skipped, columns cut to it.
#include "QDMP_Drawing.h"
#include "QDMP_Internal.h"

using namespace qdmp;

namespace {

template <typename Pixel>
void FillRows(PixMapHandle handle, const Rect& rect, Range columns, Pixel value) {
    const auto map = ViewMap(handle, kDepthOf<Pixel>);
    if (!map) return;
    const int top = std::max<int>(rect.top, map->bounds.top);
    const int bottom = std::min<int>(rect.bottom, map->bounds.bottom);
    for (int row = top; row < bottom; ++row)
        FillSpan<Pixel>(*map, row, columns, value);
}

// The columns a line from left to right covers: both ends, in either order.
Range LineColumns(const Rect& r) {
    const Range ordered = Ordered(r.left, r.right);
    return Range{ordered.from, ordered.to + 1};
}

} // namespace

void QDMP_Fill_Rect8(PixMapHandle pPixMapHdl, Rect pRect, UInt8 pColor) {
    FillRows<UInt8>(pPixMapHdl, pRect, LineColumns(pRect), pColor);
}
void QDMP_Fill_Rect16(PixMapHandle pPixMapHdl, Rect pRect, UInt16 pColor) {
    FillRows<UInt16>(pPixMapHdl, pRect, LineColumns(pRect), pColor);
}
void QDMP_Fill_Rect32(PixMapHandle pPixMapHdl, Rect pRect, UInt32 pColor) {
    FillRows<UInt32>(pPixMapHdl, pRect, Ordered(pRect.left, pRect.right), pColor);
}

void QDMP_Fill_Rect(PixMapHandle pPixMapHdl, Rect pRect, const RGBColor* pColor) {
    if (pColor == nullptr) return;
    switch (PixelSizeOf(pPixMapHdl)) {
    case 8:
        QDMP_Fill_Rect8(pPixMapHdl, pRect, RGBColorToColor8(pPixMapHdl, pColor));
        break;
    case 16:
        QDMP_Fill_Rect16(pPixMapHdl, pRect, RGBColorToColor16(pColor));
        break;
    case 32:
        QDMP_Fill_Rect32(pPixMapHdl, pRect, RGBColorToColor32(pColor));
        break;
    default:
        break;
    }
}
