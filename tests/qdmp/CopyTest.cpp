// Rectangle and row copies, the alpha blend and the down-mip.
#include "TestMaps.h"

#include "QDMP_PixelMath.h"

#include <functional>

namespace {

using namespace qdmp_test;

// A distinct value per position, narrowed to the depth.
UInt32 Pattern(int h, int v, SInt16 depth) {
    const UInt32 value = UInt32(0x01000193u * UInt32(h + 1000) ^ 0x9E3779B9u * UInt32(v + 1000));
    return depth == 8 ? (value & 0xFF) : depth == 16 ? (value & 0xFFFF) : value;
}

void FillPattern(PixMapBuffer& map) {
    const Rect b = map.Bounds();
    for (int v = b.top; v < b.bottom; ++v)
        for (int h = b.left; h < b.right; ++h)
            map.SetPixel(h, v, Pattern(h, v, map.Record().pixelSize));
}

// Checks every destination pixel: `source(h, v)` says which source position
// lands there, or nullopt for an untouched (zero) pixel.
using SourceOf = std::function<std::optional<std::pair<int, int>>(int h, int v)>;

void ExpectCopied(const PixMapBuffer& dst, const PixMapBuffer& src, const SourceOf& source) {
    const Rect b = dst.Bounds();
    for (int v = b.top; v < b.bottom; ++v)
        for (int h = b.left; h < b.right; ++h) {
            const auto from = source(h, v);
            const UInt32 expected = from ? src.Pixel(from->first, from->second) : 0;
            ASSERT_EQ(dst.Pixel(h, v), expected) << "at " << h << "," << v;
        }
    EXPECT_TRUE(dst.GuardsIntact());
    EXPECT_TRUE(src.GuardsIntact());
}

// A block of `width` x `height` from (srcLeft, srcTop) lands at (dstLeft, dstTop).
SourceOf BlockAt(int srcLeft, int srcTop, int dstLeft, int dstTop, int width, int height) {
    return [=](int h, int v) -> std::optional<std::pair<int, int>> {
        if (h < dstLeft || h >= dstLeft + width || v < dstTop || v >= dstTop + height)
            return std::nullopt;
        return std::pair{h - dstLeft + srcLeft, v - dstTop + srcTop};
    };
}

const SourceOf kNothing = [](int, int) { return std::nullopt; };

TEST(CopyRect, ClipsEachRectangleToItsOwnMapAndStopsAtTheShorter) {
    struct Case {
        const char* what;
        Rect srcRect, dstRect;
        SourceOf expected;
    };
    // Maps of bounds (0, 0, 20, 20) at each depth; rectangles are top, left, bottom, right.
    const Case cases[] = {
        {"2 rows of 3", {0, 0, 2, 3}, {5, 5, 7, 8}, BlockAt(0, 0, 5, 5, 3, 2)},
        {"the shorter destination: 1 row", {0, 0, 2, 3}, {5, 5, 6, 8}, BlockAt(0, 0, 5, 5, 3, 1)},
        {"the shorter source", {0, 0, 2, 3}, {5, 5, 9, 8}, BlockAt(0, 0, 5, 5, 3, 2)},
        {"widths 3 and 4: nothing", {0, 0, 2, 3}, {5, 5, 7, 9}, kNothing},
        {"right to left: nothing", {0, 3, 2, 0}, {5, 8, 7, 5}, kNothing},
        {"bottom to top: nothing", {2, 0, 0, 3}, {7, 5, 5, 8}, kNothing},
        {"the source's bottom row and nothing beyond",
         {18, 0, 25, 4},
         {0, 0, 10, 4},
         BlockAt(0, 18, 0, 0, 4, 2)},
        // A cut at the source's top or left does not move where the copy lands.
        {"source cut at the top", {-10, 0, 5, 4}, {0, 0, 15, 4}, BlockAt(0, 0, 0, 0, 4, 5)},
        {"source cut at the left", {0, -5, 3, 5}, {0, 0, 3, 5}, BlockAt(0, 0, 0, 0, 5, 3)},
        {"destination cut at the right", {0, 0, 3, 5}, {0, 17, 3, 22}, kNothing},
        {"both cut to equal widths", {0, 15, 2, 25}, {3, 15, 5, 25}, BlockAt(15, 0, 15, 3, 5, 2)},
        {"outside the source", {30, 0, 35, 3}, {0, 0, 5, 3}, kNothing},
    };
    for (SInt16 depth : {8, 16, 32})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", depth " << depth);
            PixMapBuffer src = GuardedMap(depth, {0, 0, 20, 20});
            PixMapBuffer dst = GuardedMap(depth, {0, 0, 20, 20});
            FillPattern(src);
            QDMP_Copy_Rect(src.Handle(), dst.Handle(), &c.srcRect, &c.dstRect);
            ExpectCopied(dst, src, c.expected);
        }
}

TEST(CopyRect, NonZeroOriginsAndMixedDepths) {
    PixMapBuffer src = GuardedMap(16, {-5, 100, 5, 110});
    PixMapBuffer dst = GuardedMap(16, {40, -20, 50, -10});
    FillPattern(src);
    const Rect srcRect{-5, 100, 0, 103}, dstRect{45, -15, 50, -12};
    QDMP_Copy_Rect16(src.Handle(), dst.Handle(), &srcRect, &dstRect);
    ExpectCopied(dst, src, BlockAt(100, -5, -15, 45, 3, 5));

    PixMapBuffer eight = GuardedMap(8, {0, 0, 4, 4});
    PixMapBuffer wide = GuardedMap(32, {0, 0, 4, 4});
    FillPattern(eight);
    FillPattern(wide);
    const Rect all{0, 0, 4, 4};
    QDMP_Copy_Rect(eight.Handle(), wide.Handle(), &all, &all);
    QDMP_Copy_Rect(wide.Handle(), eight.Handle(), &all, &all);
    QDMP_Copy_Rect32(eight.Handle(), wide.Handle(), &all, &all); // a depth member refuses too
    for (int v = 0; v < 4; ++v)
        for (int h = 0; h < 4; ++h) {
            EXPECT_EQ(eight.Pixel(h, v), Pattern(h, v, 8));
            EXPECT_EQ(wide.Pixel(h, v), Pattern(h, v, 32));
        }
}

TEST(CopyRect, PlainAndAlphaCopiesClipRowsDifferently) {
    // 100 x 100 maps; source rectangle (-10, 0, 50, 100), destination (0, 0, 60, 100).
    const Rect srcRect{-10, 0, 50, 100}, dstRect{0, 0, 60, 100};
    PixMapBuffer src = GuardedMap(32, {0, 0, 100, 100});
    FillPattern(src);

    PixMapBuffer plain = GuardedMap(32, {0, 0, 100, 100});
    QDMP_Copy_Rect32(src.Handle(), plain.Handle(), &srcRect, &dstRect);
    ExpectCopied(plain, src, BlockAt(0, 0, 0, 0, 100, 50)); // rows 0-49 on rows 0-49

    PixMapBuffer alpha = GuardedMap(32, {0, 0, 100, 100});
    QDMP_Copy_Rect32A(src.Handle(), alpha.Handle(), &srcRect, &dstRect);
    for (int v = 0; v < 100; ++v)
        for (int h = 0; h < 100; ++h) {
            const UInt32 expected =
                v >= 10 && v < 60 ? qdmp::BlendPixel(src.Pixel(h, v - 10), 0) : 0;
            ASSERT_EQ(alpha.Pixel(h, v), expected) << h << "," << v; // rows 0-49 on rows 10-59
        }
    EXPECT_TRUE(alpha.GuardsIntact());
}

// Expected alpha copy of `width` x `height` from (srcLeft, srcTop) onto (dstLeft, dstTop).
void ExpectBlended(const PixMapBuffer& dst, UInt32 background, const PixMapBuffer& src, int srcLeft,
                   int srcTop, int dstLeft, int dstTop, int width, int height) {
    const Rect b = dst.Bounds();
    for (int v = b.top; v < b.bottom; ++v)
        for (int h = b.left; h < b.right; ++h) {
            const bool inside =
                h >= dstLeft && h < dstLeft + width && v >= dstTop && v < dstTop + height;
            const UInt32 expected =
                inside ? qdmp::BlendPixel(src.Pixel(h - dstLeft + srcLeft, v - dstTop + srcTop),
                                          background)
                       : background;
            ASSERT_EQ(dst.Pixel(h, v), expected) << h << "," << v;
        }
    EXPECT_TRUE(dst.GuardsIntact());
}

TEST(CopyRect32A, NormalisesRectanglesAndCutsColumnsFromBoth) {
    struct Case {
        const char* what;
        Rect srcRect, dstRect;
        int srcLeft, srcTop, dstLeft, dstTop, width, height; // width 0: nothing
    };
    // Maps of bounds (0, 0, 16, 16).
    const Case cases[] = {
        {"left to right", {0, 0, 4, 10}, {2, 3, 6, 13}, 0, 0, 3, 2, 10, 4},
        {"right to left, unmirrored", {0, 10, 4, 0}, {2, 3, 6, 13}, 0, 0, 3, 2, 10, 4},
        {"top below bottom: nothing", {4, 0, 0, 10}, {2, 3, 6, 13}, 0, 0, 0, 0, 0, 0},
        {"widths differ: nothing", {0, 0, 4, 10}, {2, 3, 6, 12}, 0, 0, 0, 0, 0, 0},
        {"source cut at the left, cut from both", {0, -5, 2, 5}, {0, 0, 2, 10}, 0, 0, 5, 0, 5, 2},
        {"destination cut at the right", {0, 0, 2, 10}, {0, 10, 2, 20}, 0, 0, 10, 0, 6, 2},
        {"destination cut at the top", {0, 0, 4, 4}, {-2, 0, 2, 4}, 0, 2, 0, 0, 4, 2},
        {"source cut at the bottom", {14, 0, 18, 4}, {0, 0, 4, 4}, 0, 14, 0, 0, 4, 2},
        {"wholly outside", {0, 20, 4, 24}, {0, 0, 4, 4}, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixMapBuffer src = GuardedMap(32, {0, 0, 16, 16});
        PixMapBuffer dst = GuardedMap(32, {0, 0, 16, 16});
        FillPattern(src);
        dst.Fill(0x00406080);
        QDMP_Copy_Rect32A(src.Handle(), dst.Handle(), &c.srcRect, &c.dstRect);
        ExpectBlended(dst, 0x00406080, src, c.srcLeft, c.srcTop, c.dstLeft, c.dstTop, c.width,
                      c.height);
    }
}

TEST(Blend, ChannelsAreWeighedOutOf255AndDividedBy256) {
    struct Case {
        UInt32 src, dst, result; // 0xAARRGGBB
    };
    const Case cases[] = {
        {0xFFFF8000, 0x00000000, 0x00FE7F00}, // opaque 255 lands as 254
        {0xFFFF8000, 0xFFFFFFFF, 0x00FE7F00},
        {0x00000000, 0xFF64C8FF, 0x0063C7FE}, // transparent still scales the destination
        {0x80C86432, 0x00643219, 0x00954A25},
        {0x00000000, 0x00000000, 0x00000000},
        {0xFFFFFFFF, 0x00FFFFFF, 0x00FEFEFE},
        {0x01FFFFFF, 0x00000000, 0x00000000},
    };
    for (const Case& c : cases) {
        PixMapBuffer src = GuardedMap(32, {0, 0, 1, 1});
        PixMapBuffer dst = GuardedMap(32, {0, 0, 1, 1});
        src.SetPixel(0, 0, c.src);
        dst.SetPixel(0, 0, c.dst);
        QDMP_Copy_Scan32A(src.Handle(), dst.Handle(), 0, 0, 1, 0, 0, 1);
        EXPECT_EQ(dst.Pixel(0, 0), c.result) << std::hex << c.src << " onto " << c.dst;
        EXPECT_EQ(qdmp::BlendPixel(c.src, c.dst), c.result);
    }
    // No channel ever exceeds 254, whatever the alpha.
    for (UInt32 alpha = 0; alpha < 256; ++alpha) {
        const UInt32 white = qdmp::BlendPixel((alpha << 24) | 0xFFFFFF, 0xFFFFFFFF);
        EXPECT_LE(white >> 16, 254u) << alpha;
        EXPECT_EQ(white, white & 0x00FFFFFF) << alpha;
    }
}

TEST(CopyScan, RangesAreOrderedPairedAndCut) {
    struct Case {
        const char* what;
        int srcY, srcX1, srcX2, dstY, dstX1, dstX2;
        int srcFrom, dstFrom, count; // count 0: nothing
    };
    // 16 x 4 maps.
    const Case cases[] = {
        {"columns 5 to 2 into 7 to 10", 1, 5, 2, 2, 7, 10, 2, 7, 3},
        {"both reversed", 1, 5, 2, 2, 10, 7, 2, 7, 3},
        {"equal ends: nothing", 1, 4, 4, 2, 7, 7, 0, 0, 0},
        {"lengths differ: nothing", 1, 0, 3, 2, 0, 4, 0, 0, 0},
        {"source row outside: nothing", 4, 0, 3, 2, 0, 3, 0, 0, 0},
        {"destination row outside: nothing", 1, 0, 3, -1, 0, 3, 0, 0, 0},
        {"source cut at the left, from both", 0, -3, 5, 0, 0, 8, 0, 3, 5},
        {"destination cut at the right, from both", 0, 0, 10, 3, 10, 20, 0, 10, 6},
        {"wholly outside", 0, 20, 30, 0, 0, 10, 0, 0, 0},
    };
    for (SInt16 depth : {8, 16, 32})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", depth " << depth);
            PixMapBuffer src = GuardedMap(depth, {0, 0, 4, 16});
            PixMapBuffer dst = GuardedMap(depth, {0, 0, 4, 16});
            FillPattern(src);
            QDMP_Copy_Scan(src.Handle(), dst.Handle(), SInt16(c.srcY), SInt16(c.srcX1),
                           SInt16(c.srcX2), SInt16(c.dstY), SInt16(c.dstX1), SInt16(c.dstX2));
            ExpectCopied(dst, src, [&](int h, int v) -> std::optional<std::pair<int, int>> {
                if (v != c.dstY || h < c.dstFrom || h >= c.dstFrom + c.count) return std::nullopt;
                return std::pair{h - c.dstFrom + c.srcFrom, c.srcY};
            });
        }
}

TEST(CopyScan, WithinOneRowCopiesLeftToRightWhateverTheOverlap) {
    // Copying columns 0-7 onto 1-8 of the same row repeats pixel 0 all along,
    // as a pixel-by-pixel pass from the left does.
    for (SInt16 depth : {8, 16, 32}) {
        PixMapBuffer map = GuardedMap(depth, {0, 0, 1, 12});
        FillPattern(map);
        QDMP_Copy_Scan(map.Handle(), map.Handle(), 0, 0, 8, 0, 1, 9);
        for (int h = 0; h <= 8; ++h)
            EXPECT_EQ(map.Pixel(h, 0), Pattern(0, 0, depth)) << depth << " " << h;
        EXPECT_EQ(map.Pixel(9, 0), Pattern(9, 0, depth));
        EXPECT_TRUE(map.GuardsIntact());
    }
}

TEST(DownMip, AveragesEachByteWithTruncatingHalves) {
    struct Case {
        const char* what;
        UInt32 upperLeft, upperRight, lowerLeft, lowerRight, result;
    };
    const Case cases[] = {
        {"all 255 gives 254", 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFEFEFEFE},
        {"black beside white gives 126", 0, 0xFFFFFFFF, 0, 0xFFFFFFFF, 0x7E7E7E7E},
        {"four of bytes 1, 2, 3, 4", 0x04030201, 0x04030201, 0x04030201, 0x04030201, 0x04020200},
        {"one white corner", 0xFFFFFFFF, 0, 0, 0, 0x3F3F3F3F},
        {"alpha averaged like the rest", 0x80000000, 0x40000000, 0x20000000, 0x10000000,
         0x3C000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixMapBuffer src = GuardedMap(32, {7, -3, 9, -1});
        PixMapBuffer dst = GuardedMap(32, {100, 50, 102, 52});
        src.SetPixel(-3, 7, c.upperLeft);
        src.SetPixel(-2, 7, c.upperRight);
        src.SetPixel(-3, 8, c.lowerLeft);
        src.SetPixel(-2, 8, c.lowerRight);
        QDMP_DownMip32A(src.Handle(), dst.Handle());
        EXPECT_EQ(dst.Pixel(50, 100), c.result);
        EXPECT_EQ(Marked(dst).size(), c.result ? 1u : 0u); // only the first pixel
        EXPECT_TRUE(dst.GuardsIntact());
    }
}

TEST(DownMip, SizesOddSourcesAndSmallDestinations) {
    struct Case {
        const char* what;
        Rect srcBounds, dstBounds;
        int outWidth, outHeight;
    };
    const Case cases[] = {
        {"4 x 2 gives 2 x 1", {0, 0, 2, 4}, {0, 0, 4, 4}, 2, 1},
        {"odd width and height", {0, 0, 5, 7}, {0, 0, 8, 8}, 4, 3},
        {"one pixel", {0, 0, 1, 1}, {0, 0, 2, 2}, 1, 1},
        {"destination narrower", {0, 0, 8, 8}, {0, 0, 4, 2}, 2, 4},
        {"destination shorter", {0, 0, 8, 8}, {0, 0, 1, 8}, 4, 1},
        {"empty source", {0, 0, 0, 8}, {0, 0, 4, 4}, 0, 0},
        {"empty destination", {0, 0, 8, 8}, {3, 3, 3, 3}, 0, 0},
        {"wide rows", {0, 0, 2, 61}, {0, 0, 1, 40}, 31, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixMapBuffer src = GuardedMap(32, c.srcBounds);
        PixMapBuffer dst = GuardedMap(32, c.dstBounds);
        FillPattern(src);
        dst.Fill(0x01010101);
        QDMP_DownMip32A(src.Handle(), dst.Handle());
        const int width = src.Width(), height = src.Height();
        for (int v = 0; v < dst.Height(); ++v)
            for (int h = 0; h < dst.Width(); ++h) {
                UInt32 expected = 0x01010101;
                if (h < c.outWidth && v < c.outHeight) {
                    // An odd last column or row stands in for its missing partner.
                    const int h0 = 2 * h, h1 = std::min(2 * h + 1, width - 1);
                    const int v0 = 2 * v, v1 = std::min(2 * v + 1, height - 1);
                    expected = qdmp::DownMipPixel(src.Pixel(h0, v0), src.Pixel(h1, v0),
                                                  src.Pixel(h0, v1), src.Pixel(h1, v1));
                }
                ASSERT_EQ(dst.Pixel(h, v), expected) << h << "," << v;
            }
        EXPECT_TRUE(dst.GuardsIntact());
        EXPECT_TRUE(src.GuardsIntact());
    }
}

TEST(DownMip, InPlaceGivesTheSameAsIntoAnotherMap) {
    PixMapBuffer map = GuardedMap(32, {0, 0, 24, 40});
    FillPattern(map);
    PixMapBuffer other = GuardedMap(32, {0, 0, 24, 40});
    QDMP_DownMip32A(map.Handle(), other.Handle());
    QDMP_DownMip32A(map.Handle(), map.Handle());
    for (int v = 0; v < 12; ++v)
        for (int h = 0; h < 20; ++h)
            ASSERT_EQ(map.Pixel(h, v), other.Pixel(h, v)) << h << "," << v;
}

} // namespace
