// Alpha-blending copies of 32-bit maps: the source's top byte is its alpha.
#include "QDMP_Internal.h"
#include "QDMP_MapAccess.h"
#include "QDMP_RowKernels.h"

using namespace qdmp;

// Rows cut from the top or bottom of either rectangle are cut from both (in
// the order source top, destination top, source bottom, destination bottom),
// and so are columns outside either map, so the image keeps its place. A
// rectangle given right to left is used in its normal form, never mirrored.
void QDMP_Copy_Rect32A(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, const Rect* pSrcRect,
                       const Rect* pDstRect) {
    if (pSrcRect == nullptr || pDstRect == nullptr) return;
    const auto src = ViewMap(pSrcPixMapHdl, 32);
    const auto dst = ViewMap(pDstPixMapHdl, 32);
    if (!src || !dst) return;

    int srcY1 = pSrcRect->top, srcY2 = pSrcRect->bottom;
    int dstY1 = pDstRect->top, dstY2 = pDstRect->bottom;
    if (srcY1 < src->bounds.top) {
        dstY1 += src->bounds.top - srcY1;
        srcY1 = src->bounds.top;
    }
    if (dstY1 < dst->bounds.top) {
        srcY1 += dst->bounds.top - dstY1;
        dstY1 = dst->bounds.top;
    }
    if (srcY2 > src->bounds.bottom) {
        dstY2 -= srcY2 - src->bounds.bottom;
        srcY2 = src->bounds.bottom;
    }
    if (dstY2 > dst->bounds.bottom) {
        srcY2 -= dstY2 - dst->bounds.bottom;
        dstY2 = dst->bounds.bottom;
    }

    Range from = Ordered(pSrcRect->left, pSrcRect->right);
    Range to = Ordered(pDstRect->left, pDstRect->right);
    if (from.Length() != to.Length()) return;
    CutPaired(from, to, src->bounds.left, src->bounds.right, dst->bounds.left, dst->bounds.right);
    if (from.Empty() || srcY1 >= srcY2 || dstY1 >= dstY2) return;

    const auto blend = ActiveRowKernels().blend32;
    const std::size_t count = std::size_t(from.Length());
    std::ptrdiff_t srcOffset = src->Offset(from.from, srcY1, 4);
    std::ptrdiff_t dstOffset = dst->Offset(to.from, dstY1, 4);
    for (; srcY1 < srcY2 && dstY1 < dstY2; ++srcY1, ++dstY1) {
        blend(src->AtOffset(srcOffset), dst->AtOffset(dstOffset), count);
        srcOffset += src->rowBytes;
        dstOffset += dst->rowBytes;
    }
}

// The plain 32-bit row copy with every pixel blended.
void QDMP_Copy_Scan32A(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl, SInt16 pSrcY,
                       SInt16 pSrcX1, SInt16 pSrcX2, SInt16 pDstY, SInt16 pDstX1, SInt16 pDstX2) {
    const auto src = ViewMap(pSrcPixMapHdl, 32);
    const auto dst = ViewMap(pDstPixMapHdl, 32);
    if (!src || !dst || !src->RowInside(pSrcY) || !dst->RowInside(pDstY)) return;
    Range from = Ordered(pSrcX1, pSrcX2), to = Ordered(pDstX1, pDstX2);
    if (from.Length() != to.Length()) return;
    CutPaired(from, to, src->bounds.left, src->bounds.right, dst->bounds.left, dst->bounds.right);
    if (from.Empty()) return;
    ActiveRowKernels().blend32(src->At(from.from, pSrcY, 4), dst->At(to.from, pDstY, 4),
                               std::size_t(from.Length()));
}
