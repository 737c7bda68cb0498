// Single pixels: bounds and addressing with a non-zero origin, depth dispatch,
// and the colour conversions both ways.
#include "TestMaps.h"

#include <cstring>

namespace {

using namespace qdmp_test;

const RGBColor kWhite{65535, 65535, 65535};
const RGBColor kBlack{0, 0, 0};

// Bounds (top 10, left 20, bottom 30, right 60).
const Rect kOffsetBounds{10, 20, 30, 60};

TEST(PixelAccess, FirstPixelIsAtTheBaseAndRowsStepByRowBytes) {
    PixMapBuffer map = GuardedMap(32, kOffsetBounds);
    QDMP_Set_Pixel32(map.Handle(), 20, 10, 0x11223344);
    QDMP_Set_Pixel32(map.Handle(), 59, 29, 0x55667788);
    QDMP_Set_Pixel32(map.Handle(), 21, 11, 0x01020304);
    UInt32 word;
    std::memcpy(&word, map.BaseAddr(), 4);
    EXPECT_EQ(word, 0x11223344u);
    std::memcpy(&word, map.BaseAddr() + 19 * map.RowBytes() + 39 * 4, 4);
    EXPECT_EQ(word, 0x55667788u);
    std::memcpy(&word, map.BaseAddr() + map.RowBytes() + 4, 4);
    EXPECT_EQ(word, 0x01020304u);
    EXPECT_EQ(QDMP_Get_Pixel32(map.Handle(), 59, 29), 0x55667788u);
    EXPECT_EQ(QDMP_Get_PixelP32(map.Handle(), P(21, 11)), 0x01020304u);
    EXPECT_EQ(Marked(map).size(), 3u);
}

TEST(PixelAccess, OutsideTheBoundsWritesNothingAndReadsZero) {
    const Point outside[] = {P(60, 10), P(20, 30), P(19, 10), P(20, 9), P(-32768, 32767)};
    for (SInt16 depth : {8, 16, 32}) {
        PixMapBuffer map = GuardedMap(depth, kOffsetBounds);
        map.Fill(0x5A5A5A5A);
        for (Point p : outside) {
            SCOPED_TRACE(testing::Message() << "depth " << depth << " at " << p);
            QDMP_Set_PixelP8(map.Handle(), p, 1);
            QDMP_Set_PixelP16(map.Handle(), p, 1);
            QDMP_Set_PixelP32(map.Handle(), p, 1);
            QDMP_Set_PixelP(map.Handle(), p, &kWhite);
            EXPECT_EQ(QDMP_Get_PixelP8(map.Handle(), p), 0);
            EXPECT_EQ(QDMP_Get_PixelP16(map.Handle(), p), 0);
            EXPECT_EQ(QDMP_Get_PixelP32(map.Handle(), p), 0u);
        }
        EXPECT_TRUE(Marked(map, map.Pixel(20, 10)).empty());
        EXPECT_TRUE(map.GuardsIntact());
    }
}

TEST(PixelAccess, DepthMembersServeOnlyTheirOwnDepth) {
    for (SInt16 depth : {1, 4, 8, 16, 24, 32}) {
        PixMapBuffer map = GuardedMap(depth, {0, 0, 2, 2});
        map.Fill(0x7F7F7F7F);
        QDMP_Set_Pixel8(map.Handle(), 0, 0, 1);
        QDMP_Set_Pixel16(map.Handle(), 0, 0, 1);
        QDMP_Set_Pixel32(map.Handle(), 0, 0, 1);
        const UInt32 expected = depth == 8 || depth == 16 || depth == 32 ? 1 : map.Pixel(1, 1);
        EXPECT_EQ(map.Pixel(0, 0), expected) << depth;
        EXPECT_EQ(QDMP_Get_Pixel8(map.Handle(), 0, 0), depth == 8 ? 1 : 0) << depth;
        EXPECT_EQ(QDMP_Get_Pixel16(map.Handle(), 0, 0), depth == 16 ? 1 : 0) << depth;
        EXPECT_EQ(QDMP_Get_Pixel32(map.Handle(), 0, 0), depth == 32 ? 1u : 0u) << depth;
        EXPECT_TRUE(map.GuardsIntact());
    }
}

TEST(PixelAccess, GenericWriteAndReadConvertPerDepth) {
    PixMapBuffer map16 = GuardedMap(16, {0, 0, 1, 1});
    QDMP_Set_Pixel(map16.Handle(), 0, 0, &kWhite);
    EXPECT_EQ(map16.Pixel(0, 0), 0x7FFFu);
    EXPECT_EQ(QDMP_Get_Pixel(map16.Handle(), 0, 0), (RGBColor{63519, 63519, 63519}));

    PixMapBuffer map32 = GuardedMap(32, {0, 0, 1, 1});
    QDMP_Set_PixelP(map32.Handle(), P(0, 0), &kWhite);
    EXPECT_EQ(map32.Pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(QDMP_Get_PixelP(map32.Handle(), P(0, 0)), kWhite);

    // Bit 15 of a 16-bit pixel and the top byte of a 32-bit one are ignored.
    map16.SetPixel(0, 0, 0x8000 | 0x1234);
    EXPECT_EQ(QDMP_Get_Pixel(map16.Handle(), 0, 0), Color16ToRGBColor(0x1234));
    map32.SetPixel(0, 0, 0xAB123456);
    EXPECT_EQ(QDMP_Get_Pixel(map32.Handle(), 0, 0), Color32ToRGBColor(0x123456));

    // Other depths: black, and nothing written.
    for (SInt16 depth : {4, 24}) {
        PixMapBuffer other = GuardedMap(depth, {0, 0, 1, 1});
        other.SetPixel(0, 0, 0x00FFFFFF);
        EXPECT_EQ(QDMP_Get_Pixel(other.Handle(), 0, 0), kBlack) << depth;
        QDMP_Set_Pixel(other.Handle(), 0, 0, &kBlack);
        EXPECT_EQ(other.Pixel(0, 0), 0x00FFFFFFu) << depth;
    }
}

TEST(PixelAccess, EightBitMapsGoThroughTheColourTable) {
    const std::vector<RGBColor> table = {{1000, 2000, 3000}, {65535, 0, 0}, {0, 65535, 0}};
    PixMapBuffer map = GuardedMap(8, kOffsetBounds, table);
    QDMP_Set_Pixel(map.Handle(), 30, 15, &table[2]);
    EXPECT_EQ(map.Pixel(30, 15), 2u);
    EXPECT_EQ(QDMP_Get_Pixel(map.Handle(), 30, 15), table[2]);
    // Reading outside gives entry 0's colour, the depth member's 0 looked up.
    EXPECT_EQ(QDMP_Get_Pixel(map.Handle(), 60, 30), table[0]);
    // A pixel value beyond the table wraps round it.
    map.SetPixel(21, 11, 4);
    EXPECT_EQ(QDMP_Get_Pixel(map.Handle(), 21, 11), table[1]);
}

TEST(Conversions, RGBColorToPixelValuesDropLowBitsWithoutRounding) {
    struct Case {
        RGBColor colour;
        UInt16 pixel16;
        UInt32 pixel32;
    };
    const Case cases[] = {
        {{65535, 65535, 65535}, 0x7FFF, 0x00FFFFFF},
        {{0, 0, 0}, 0x0000, 0x00000000},
        {{0x07FF, 0x07FF, 0x07FF}, 0x0000, 0x00070707},
        {{0x0800, 0x0800, 0x0800}, 0x0421, 0x00080808},
        {{0xF81F, 0x8000, 0x00FF}, 0x7E00, 0x00F88000},
        {{0x1234, 0x5678, 0x9ABC}, 0x0953, 0x0012569A},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RGBColorToColor16(&c.colour), c.pixel16) << c.colour;
        EXPECT_EQ(RGBColorToColor32(&c.colour), c.pixel32) << c.colour;
    }
}

TEST(Conversions, PixelValuesToRGBColorRepeatTheirBitsLow) {
    // Five bits go to the top and again to the lowest five only: 31 gives 0xF81F.
    EXPECT_EQ(Color16ToRGBColor(0x7FFF), (RGBColor{0xF81F, 0xF81F, 0xF81F}));
    EXPECT_EQ(Color16ToRGBColor(0x0421), (RGBColor{0x0801, 0x0801, 0x0801}));
    EXPECT_EQ(Color16ToRGBColor(0xFFFF8000), (RGBColor{0, 0, 0})); // only the low 15 bits count
    EXPECT_EQ(Color16ToRGBColor(0x7C00), (RGBColor{0xF81F, 0, 0}));
    EXPECT_EQ(Color32ToRGBColor(0xFFFF8000), (RGBColor{0xFFFF, 0x8080, 0}));
    EXPECT_EQ(Color32ToRGBColor(0x00010203), (RGBColor{0x0101, 0x0202, 0x0303}));
    // Every 16-bit value survives the round trip; every 32-bit one's colour bits too.
    for (UInt32 value = 0; value < 0x8000; ++value) {
        const RGBColor colour = Color16ToRGBColor(value);
        ASSERT_EQ(RGBColorToColor16(&colour), value);
    }
    for (UInt32 value : {0x00000000u, 0x00FFFFFFu, 0xFF123456u, 0x00808080u}) {
        const RGBColor colour = Color32ToRGBColor(value);
        EXPECT_EQ(RGBColorToColor32(&colour), value & 0x00FFFFFF);
    }
}

TEST(Conversions, NearestColourPicksTheFirstOfTheNearest) {
    const std::vector<RGBColor> table = {{0, 0, 0},     {40000, 40000, 40000}, {65535, 0, 0},
                                         {65535, 0, 0}, {0, 0, 65535},         {0, 0, 65535}};
    PixMapBuffer map = GuardedMap(8, {0, 0, 1, 1}, table);
    struct Case {
        RGBColor colour;
        UInt8 index;
    };
    const Case cases[] = {
        {{0, 0, 0}, 0},
        {{39990, 39990, 39990}, 1}, // slightly darker than entry 1, far from entry 0
        {{65535, 0, 0}, 2},         // equal to entries 2 and 3: the first
        {{60000, 100, 100}, 2},
        {{0, 0, 32767}, 0},         // nearer black (32767^2) than blue (32768^2)
        {{0, 0, 32768}, 4},         // nearer blue: the first of the two blues
        {{20000, 20000, 20000}, 0}, // 3 * 20000^2 < 3 * 20000^2 + ... : black
        {{20001, 20001, 20001}, 1},
        {{65535, 65535, 65535}, 1}, // needs more than 32 bits for some sums
    };
    for (const Case& c : cases)
        EXPECT_EQ(RGBColorToColor8(map.Handle(), &c.colour), c.index) << c.colour;
    // The result is an 8-bit value whatever the depth of the map.
    map.Record().pixelSize = 32;
    EXPECT_EQ(RGBColorToColor8(map.Handle(), &table[4]), 4);
}

TEST(Conversions, NearestColourInALargeTableKeepsTheLowEightBits) {
    std::vector<RGBColor> table(300, RGBColor{0, 0, 0});
    table[260] = RGBColor{1234, 5678, 9012};
    PixMapBuffer map = GuardedMap(8, {0, 0, 1, 1}, table);
    EXPECT_EQ(RGBColorToColor8(map.Handle(), &table[260]), UInt8(260 & 0xFF));
    EXPECT_EQ(FindColorByIndex(map.Handle(), 260), table[260]);
    EXPECT_EQ(FindColorByIndex(map.Handle(), 301), table[1]);
}

TEST(Conversions, FindColorByIndexWrapsRoundTheTable) {
    const std::vector<RGBColor> table = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
    PixMapBuffer map = GuardedMap(8, {0, 0, 1, 1}, table);
    struct Case {
        SInt16 index;
        RGBColor colour;
    };
    const Case cases[] = {
        {0, table[0]}, {2, table[2]}, {3, table[0]}, {255, table[0]}, {254, table[2]}};
    for (const Case& c : cases)
        EXPECT_EQ(FindColorByIndex(map.Handle(), c.index), c.colour) << c.index;
}

} // namespace
