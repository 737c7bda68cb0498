// The 2:1 down-mip of a 32-bit map: a 2 x 2 box filter on whole words.
#include "QDMP_Internal.h"
#include "QDMP_MapAccess.h"
#include "QDMP_PixelMath.h"
#include "QDMP_RowKernels.h"

#include <algorithm>

using namespace qdmp;

// The whole source, halved, lands at the destination's first pixel. The
// destination gets ceil(width / 2) x ceil(height / 2) pixels, cut to its own
// bounds; an odd source's last column or row has no partner, so its edge pixel
// stands in for the missing one (nothing beyond the source is read).
void QDMP_DownMip32A(PixMapHandle pSrcPixMapHdl, PixMapHandle pDstPixMapHdl) {
    const auto src = ViewMap(pSrcPixMapHdl, 32);
    const auto dst = ViewMap(pDstPixMapHdl, 32);
    if (!src || !dst) return;
    const int width = src->bounds.right - src->bounds.left;
    const int height = src->bounds.bottom - src->bounds.top;
    const int outWidth = std::min((width + 1) / 2, dst->bounds.right - dst->bounds.left);
    const int outHeight = std::min((height + 1) / 2, dst->bounds.bottom - dst->bounds.top);
    if (width <= 0 || height <= 0 || outWidth <= 0 || outHeight <= 0) return;

    const int pairs = std::min(width / 2, outWidth); // whole 2 x 2 blocks per row
    const bool loneColumn = outWidth > pairs;        // the odd last column
    const auto downMip = ActiveRowKernels().downMip32;
    for (int row = 0; row < outHeight; ++row) {
        const UInt8* upper = src->AtOffset(std::ptrdiff_t(2 * row) * src->rowBytes);
        const UInt8* lower =
            src->AtOffset(std::ptrdiff_t(std::min(2 * row + 1, height - 1)) * src->rowBytes);
        UInt8* out = dst->AtOffset(std::ptrdiff_t(row) * dst->rowBytes);
        downMip(upper, lower, out, std::size_t(pairs));
        if (loneColumn) {
            const UInt32 a = LoadPixel<UInt32>(upper + 4 * (width - 1));
            const UInt32 c = LoadPixel<UInt32>(lower + 4 * (width - 1));
            StorePixel<UInt32>(out + 4 * pairs, DownMipPixel(a, a, c, c));
        }
    }
}
