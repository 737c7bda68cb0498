// The per-pixel arithmetic of the 32-bit blend and down-mip, shared by the
// generic row kernels and the tails of the vector ones.
#pragma once

#include "MacTypes.h"

namespace qdmp {

// The source over the destination by the source's top byte. Weights out of 255,
// each product divided by 256 and truncated before the sum, so no channel
// exceeds 254; the destination's alpha is not read and is written as 0.
inline UInt32 BlendPixel(UInt32 src, UInt32 dst) {
    const UInt32 alpha = src >> 24;
    const UInt32 notAlpha = 255 - alpha;
    auto channel = [&](int shift) {
        const UInt32 s = (src >> shift) & 0xFF;
        const UInt32 d = (dst >> shift) & 0xFF;
        return ((s * alpha) >> 8) + ((d * notAlpha) >> 8);
    };
    return (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

// Halves all four bytes of a word at once, each truncated: clearing each byte's
// low bit first keeps bits from crossing into the byte below.
inline UInt32 HalveLanes(UInt32 word) {
    return (word & 0xFEFEFEFEu) >> 1;
}

// One down-mip pixel from the upper pair (a, b) and the lower pair (c, d):
// per byte, ((a/2 + b/2) / 2) + ((c/2 + d/2) / 2), every division truncating.
inline UInt32 DownMipPixel(UInt32 a, UInt32 b, UInt32 c, UInt32 d) {
    return HalveLanes(HalveLanes(a) + HalveLanes(b)) + HalveLanes(HalveLanes(c) + HalveLanes(d));
}

} // namespace qdmp
