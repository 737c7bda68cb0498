// Plain rectangle and row copies between maps of one depth.
#include "QDMP_Internal.h"
#include "QDMP_MapAccess.h"

namespace {

using namespace qdmp;

// Each rectangle is clipped to its own map, independently: a cut at the
// source's top does not move where the copy lands. Rows are paired from the top
// and moved whole with the block copy, top to bottom.
template <typename Pixel>
void CopyRect(PixMapHandle srcHandle, PixMapHandle dstHandle, const Rect* pSrcRect,
              const Rect* pDstRect) {
    if (pSrcRect == nullptr || pDstRect == nullptr) return;
    const auto src = ViewMap(srcHandle, kDepthOf<Pixel>);
    const auto dst = ViewMap(dstHandle, kDepthOf<Pixel>);
    if (!src || !dst) return;
    Rect srcRect, dstRect;
    if (!QDMP_Intersect_Rects(pSrcRect, &src->bounds, &srcRect)) return;
    if (!QDMP_Intersect_Rects(pDstRect, &dst->bounds, &dstRect)) return;
    const int width = srcRect.right - srcRect.left;
    if (width != dstRect.right - dstRect.left) return;

    const ByteCount rowLength = ByteCount(width) * sizeof(Pixel);
    std::ptrdiff_t srcOffset = src->Offset(srcRect.left, srcRect.top, sizeof(Pixel));
    std::ptrdiff_t dstOffset = dst->Offset(dstRect.left, dstRect.top, sizeof(Pixel));
    for (int srcY = srcRect.top, dstY = dstRect.top; srcY < srcRect.bottom && dstY < dstRect.bottom;
         ++srcY, ++dstY) {
        MPBlockCopy(src->AtOffset(srcOffset), dst->AtOffset(dstOffset), rowLength);
        srcOffset += src->rowBytes;
        dstOffset += dst->rowBytes;
    }
}

// Both rows must be inside their maps and the two ranges of equal length;
// columns outside either map are cut from both. Pixels move one at a time,
// left to right, whatever the overlap.
template <typename Pixel>
void CopyScan(PixMapHandle srcHandle, PixMapHandle dstHandle, int srcY, int srcX1, int srcX2,
              int dstY, int dstX1, int dstX2) {
    const auto src = ViewMap(srcHandle, kDepthOf<Pixel>);
    const auto dst = ViewMap(dstHandle, kDepthOf<Pixel>);
    if (!src || !dst || !src->RowInside(srcY) || !dst->RowInside(dstY)) return;
    Range from = Ordered(srcX1, srcX2), to = Ordered(dstX1, dstX2);
    if (from.Length() != to.Length()) return;
    CutPaired(from, to, src->bounds.left, src->bounds.right, dst->bounds.left, dst->bounds.right);
    if (from.Empty()) return;
    const UInt8* source = src->At(from.from, srcY, sizeof(Pixel));
    UInt8* target = dst->At(to.from, dstY, sizeof(Pixel));
    for (int i = 0; i < from.Length(); ++i)
        StorePixel<Pixel>(target + i * sizeof(Pixel), LoadPixel<Pixel>(source + i * sizeof(Pixel)));
}

} // namespace

void QDMP_Copy_Rect8(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, const Rect* pSrcRect,
                     const Rect* pDstRect) {
    CopyRect<UInt8>(pSrcPixMapHdl, pDstPixMapHdl, pSrcRect, pDstRect);
}
void QDMP_Copy_Rect16(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, const Rect* pSrcRect,
                      const Rect* pDstRect) {
    CopyRect<UInt16>(pSrcPixMapHdl, pDstPixMapHdl, pSrcRect, pDstRect);
}
void QDMP_Copy_Rect32(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, const Rect* pSrcRect,
                      const Rect* pDstRect) {
    CopyRect<UInt32>(pSrcPixMapHdl, pDstPixMapHdl, pSrcRect, pDstRect);
}

void QDMP_Copy_Rect(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, const Rect* pSrcRect,
                    const Rect* pDstRect) {
    const SInt16 depth = PixelSizeOf(pSrcPixMapHdl);
    if (depth != PixelSizeOf(pDstPixMapHdl)) return;
    switch (depth) {
    case 8:
        QDMP_Copy_Rect8(pSrcPixMapHdl, pDstPixMapHdl, pSrcRect, pDstRect);
        break;
    case 16:
        QDMP_Copy_Rect16(pSrcPixMapHdl, pDstPixMapHdl, pSrcRect, pDstRect);
        break;
    case 32:
        QDMP_Copy_Rect32(pSrcPixMapHdl, pDstPixMapHdl, pSrcRect, pDstRect);
        break;
    default:
        break;
    }
}

void QDMP_Copy_Scan8(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, SInt16 pSrcY,
                     SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY, SInt16 pDstX1, SInt16 pDstX2) {
    CopyScan<UInt8>(pSrcPixMapHdl, pDstPixMapHdl, pSrcY, pSrcX1, pSrcX2, pDstY, pDstX1, pDstX2);
}
void QDMP_Copy_Scan16(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, SInt16 pSrcY,
                      SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY, SInt16 pDstX1, SInt16 pDstX2) {
    CopyScan<UInt16>(pSrcPixMapHdl, pDstPixMapHdl, pSrcY, pSrcX1, pSrcX2, pDstY, pDstX1, pDstX2);
}
void QDMP_Copy_Scan32(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, SInt16 pSrcY,
                      SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY, SInt16 pDstX1, SInt16 pDstX2) {
    CopyScan<UInt32>(pSrcPixMapHdl, pDstPixMapHdl, pSrcY, pSrcX1, pSrcX2, pDstY, pDstX1, pDstX2);
}

void QDMP_Copy_Scan(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, SInt16 pSrcY,
                    SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY, SInt16 pDstX1, SInt16 pDstX2) {
    const SInt16 depth = PixelSizeOf(pSrcPixMapHdl);
    if (depth != PixelSizeOf(pDstPixMapHdl)) return;
    switch (depth) {
    case 8:
        QDMP_Copy_Scan8(pSrcPixMapHdl, pDstPixMapHdl, pSrcY, pSrcX1, pSrcX2, pDstY, pDstX1, pDstX2);
        break;
    case 16:
        QDMP_Copy_Scan16(pSrcPixMapHdl, pDstPixMapHdl, pSrcY, pSrcX1, pSrcX2, pDstY, pDstX1,
                         pDstX2);
        break;
    case 32:
        QDMP_Copy_Scan32(pSrcPixMapHdl, pDstPixMapHdl, pSrcY, pSrcX1, pSrcX2, pDstY, pDstX1,
                         pDstX2);
        break;
    default:
        break;
    }
}
