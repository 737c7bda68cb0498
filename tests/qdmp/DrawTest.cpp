// Lines, rectangle fills, circles and curves, checked on every pixel.
#include "TestMaps.h"

namespace {

using namespace qdmp_test;

const Rect kCanvas{-20, -20, 20, 20};

// Draws with the depth member of `depth`, pixel value 1.
void Line(const PixMapBuffer& map, int x1, int y1, int x2, int y2) {
    switch (map.Record().pixelSize) {
    case 8:
        QDMP_Draw_Line8(map.Handle(), SInt16(x1), SInt16(y1), SInt16(x2), SInt16(y2), 1);
        break;
    case 16:
        QDMP_Draw_LineP16(map.Handle(), P(x1, y1), P(x2, y2), 1);
        break;
    default:
        QDMP_Draw_Line32(map.Handle(), SInt16(x1), SInt16(y1), SInt16(x2), SInt16(y2), 1);
        break;
    }
}

TEST(Line, WritesTheBresenhamPixelsBothEndsIncluded) {
    struct Case {
        int x1, y1, x2, y2;
        Pixels pixels;
    };
    const Case cases[] = {
        {3, 3, 3, 3, {{3, 3}}},
        {0, 5, 3, 5, {{0, 5}, {1, 5}, {2, 5}, {3, 5}}},
        {3, 5, 0, 5, {{0, 5}, {1, 5}, {2, 5}, {3, 5}}},
        {0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {0, 0, 1, 3, {{0, 0}, {0, 1}, {0, 2}, {1, 3}}},
        {0, 0, 1, 1, {{0, 0}, {1, 0}}}, // diagonal neighbours: the end is not reached
        {0, 0, -1, -1, {{0, 0}, {-1, 0}}},
        {0, 0, 2, 2, {{0, 0}, {1, 1}, {2, 2}}},
        {0, 0, 0, -3, {{0, 0}, {0, -1}, {0, -2}, {0, -3}}},
        {4, 2, 0, 0, {{4, 2}, {3, 2}, {2, 1}, {1, 1}, {0, 0}}},
    };
    for (SInt16 depth : {8, 16, 32})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << ","
                                            << c.y2 << ") depth " << depth);
            PixMapBuffer map = GuardedMap(depth, kCanvas);
            Line(map, c.x1, c.y1, c.x2, c.y2);
            EXPECT_EQ(Marked(map), c.pixels);
            EXPECT_TRUE(map.GuardsIntact());
        }
}

TEST(Line, AClippedLineDrawsThePixelsTheWholeOneWould) {
    // (10, 10) is the first pixel of the small map, (20, 15) is outside it.
    const Rect small{10, 10, 20, 20};
    const int lines[][4] = {{5, 8, 25, 17},   {15, 0, 12, 40}, {0, 0, 30, 30},    {20, 15, 10, 15},
                            {9, 9, 9, 30},    {25, 5, 5, 25},  {-50, 12, 50, 18}, {10, 10, 10, 10},
                            {20, 20, 20, 20}, {12, 25, 18, 5}};
    for (SInt16 depth : {8, 16, 32})
        for (const auto& l : lines) {
            SCOPED_TRACE(testing::Message() << l[0] << "," << l[1] << " " << l[2] << "," << l[3]);
            PixMapBuffer clipped = GuardedMap(depth, small);
            PixMapBuffer whole = GuardedMap(depth, {-60, -60, 60, 60});
            Line(clipped, l[0], l[1], l[2], l[3]);
            Line(whole, l[0], l[1], l[2], l[3]);
            EXPECT_EQ(Marked(clipped), Within(Marked(whole), small));
            EXPECT_TRUE(clipped.GuardsIntact());
        }
}

TEST(Line, GenericLineConvertsTheColourForTheDepth) {
    const RGBColor red{65535, 0, 0};
    PixMapBuffer map32 = GuardedMap(32, kCanvas);
    QDMP_Draw_LineP(map32.Handle(), P(0, 0), P(2, 0), &red);
    EXPECT_EQ(map32.Pixel(1, 0), 0x00FF0000u);
    PixMapBuffer map16 = GuardedMap(16, kCanvas);
    QDMP_Draw_Line(map16.Handle(), 0, 0, 2, 0, &red);
    EXPECT_EQ(map16.Pixel(2, 0), 0x7C00u);
    PixMapBuffer map8 = GuardedMap(8, kCanvas, std::vector<RGBColor>{{0, 0, 0}, {60000, 0, 0}});
    QDMP_Draw_Line(map8.Handle(), 0, 0, 2, 0, &red);
    EXPECT_EQ(map8.Pixel(0, 0), 1u);
}

TEST(FillRect, EightAndSixteenBitFillsIncludeTheRightColumnThirtyTwoDoesNot) {
    struct Case {
        Rect rect;
        Pixels lineFill; // 8 and 16 bits
        Pixels spanFill; // 32 bits
    };
    const Case cases[] = {
        {{0, 0, 2, 3}, Block(0, 0, 4, 2), Block(0, 0, 3, 2)},
        {{0, 0, 0, 3}, {}, {}},                                           // top = bottom
        {{2, 0, 0, 3}, {}, {}},                                           // upside down
        {{0, 2, 2, 2}, Block(2, 0, 3, 2), {}},                            // left = right
        {{0, 5, 1, 2}, Block(2, 0, 6, 1), Block(2, 0, 5, 1)},             // right left of left
        {{15, 15, 30, 30}, Block(15, 15, 20, 20), Block(15, 15, 20, 20)}, // cut to the map
        {{-30, -30, -19, -19}, Block(-20, -20, -18, -19), Block(-20, -20, -19, -19)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect);
        PixMapBuffer map8 = GuardedMap(8, kCanvas), map16 = GuardedMap(16, kCanvas),
                     map32 = GuardedMap(32, kCanvas);
        QDMP_Fill_Rect8(map8.Handle(), c.rect, 7);
        QDMP_Fill_Rect16(map16.Handle(), c.rect, 7);
        QDMP_Fill_Rect32(map32.Handle(), c.rect, 7);
        EXPECT_EQ(Marked(map8), c.lineFill);
        EXPECT_EQ(Marked(map16), c.lineFill);
        EXPECT_EQ(Marked(map32), c.spanFill);
        EXPECT_TRUE(map8.GuardsIntact() && map16.GuardsIntact() && map32.GuardsIntact());
    }
}

TEST(FillRect, SpansReachingPastEitherSideStayInTheirRow) {
    PixMapBuffer map = GuardedMap(32, {0, 0, 3, 4});
    QDMP_Fill_Rect32(map.Handle(), Rect{1, -100, 2, 100}, 9);
    EXPECT_EQ(Marked(map), Block(0, 1, 4, 2));
    EXPECT_TRUE(map.GuardsIntact());
    Draw_Scan32(map.Handle(), 0, 3, -2, 5);
    Draw_Scan32(map.Handle(), 2, 3, 3, 5); // equal ends: nothing
    Draw_Scan32(map.Handle(), 3, 0, 4, 5); // the row below the map: nothing
    EXPECT_EQ(map.Pixel(0, 0), 5u);
    EXPECT_EQ(map.Pixel(2, 0), 5u);
    EXPECT_EQ(map.Pixel(3, 0), 0u);
    EXPECT_EQ(Marked(map).size(), 7u);
    EXPECT_TRUE(map.GuardsIntact());
}

Pixels Around(int h, int v, const Pixels& offsets) {
    Pixels out;
    for (const auto& [dh, dv] : offsets)
        out.insert({h + dh, v + dv});
    return out;
}

TEST(Circle, OutlinesOfSmallRadiiWriteEachPixelOnce) {
    const Pixels radius2 = [] {
        Pixels ring = Block(-2, -2, 3, 3);
        for (int v = -1; v <= 1; ++v)
            for (int h = -1; h <= 1; ++h)
                ring.erase({h, v});
        for (int h : {-2, 2})
            for (int v : {-2, 2})
                ring.erase({h, v});
        return ring;
    }();
    ASSERT_EQ(radius2.size(), 12u);
    struct Case {
        UInt16 radius;
        Pixels offsets;
    };
    const Case cases[] = {{0, {{0, 0}}}, {1, {{0, -1}, {0, 1}, {-1, 0}, {1, 0}}}, {2, radius2}};
    for (SInt16 depth : {8, 16, 32})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "radius " << c.radius << " depth " << depth);
            PixMapBuffer map = GuardedMap(depth, kCanvas);
            if (depth == 8) QDMP_Draw_Circle8(map.Handle(), 3, -4, c.radius, 1);
            if (depth == 16) QDMP_Draw_CircleP16(map.Handle(), P(3, -4), c.radius, 1);
            if (depth == 32) QDMP_Draw_Circle32(map.Handle(), 3, -4, c.radius, 1);
            EXPECT_EQ(Marked(map), Around(3, -4, c.offsets));
        }
}

TEST(Circle, FilledCirclesOfSmallRadiiStopShortOnTheRight) {
    Pixels radius2 = Block(-2, -1, 2, 2);
    for (int v : {-2, 2})
        for (int h : {-1, 0})
            radius2.insert({h, v});
    ASSERT_EQ(radius2.size(), 16u);
    struct Case {
        UInt16 radius;
        Pixels offsets;
    };
    const Case cases[] = {{0, {}}, {1, {{-1, 0}, {0, 0}}}, {2, radius2}};
    for (SInt16 depth : {8, 16, 32})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "radius " << c.radius << " depth " << depth);
            PixMapBuffer map = GuardedMap(depth, kCanvas);
            if (depth == 8) QDMP_Fill_CircleP8(map.Handle(), P(-5, 6), c.radius, 1);
            if (depth == 16) QDMP_Fill_Circle16(map.Handle(), -5, 6, c.radius, 1);
            if (depth == 32) QDMP_Fill_Circle32(map.Handle(), -5, 6, c.radius, 1);
            EXPECT_EQ(Marked(map), Around(-5, 6, c.offsets));
        }
}

TEST(Circle, CirclesCutByTheBoundsKeepTheirPixelsInside) {
    const Rect small{0, 0, 10, 10};
    const int circles[][3] = {{0, 0, 6},   {9, 5, 4},  {5, 12, 5},
                              {-3, -3, 3}, {5, 5, 30}, {20, 20, 3}};
    for (SInt16 depth : {8, 16, 32})
        for (const auto& c : circles) {
            SCOPED_TRACE(testing::Message()
                         << c[0] << "," << c[1] << " r " << c[2] << " depth " << depth);
            PixMapBuffer outline = GuardedMap(depth, small),
                         outlineWhole = GuardedMap(depth, {-50, -50, 50, 50});
            PixMapBuffer filled = GuardedMap(depth, small),
                         filledWhole = GuardedMap(depth, {-50, -50, 50, 50});
            const RGBColor colour{0, 65535, 0};
            if (depth == 8) {
                // No colour table: the nearest-colour index is 255.
                QDMP_Draw_Circle(outline.Handle(), SInt16(c[0]), SInt16(c[1]), UInt16(c[2]),
                                 &colour);
                QDMP_Draw_Circle(outlineWhole.Handle(), SInt16(c[0]), SInt16(c[1]), UInt16(c[2]),
                                 &colour);
                QDMP_Fill_Circle(filled.Handle(), SInt16(c[0]), SInt16(c[1]), UInt16(c[2]),
                                 &colour);
                QDMP_Fill_CircleP(filledWhole.Handle(), P(c[0], c[1]), UInt16(c[2]), &colour);
            } else {
                QDMP_Draw_CircleP(outline.Handle(), P(c[0], c[1]), UInt16(c[2]), &colour);
                QDMP_Draw_CircleP(outlineWhole.Handle(), P(c[0], c[1]), UInt16(c[2]), &colour);
                QDMP_Fill_Circle(filled.Handle(), SInt16(c[0]), SInt16(c[1]), UInt16(c[2]),
                                 &colour);
                QDMP_Fill_Circle(filledWhole.Handle(), SInt16(c[0]), SInt16(c[1]), UInt16(c[2]),
                                 &colour);
            }
            EXPECT_EQ(Marked(outline), Within(Marked(outlineWhole), small));
            EXPECT_EQ(Marked(filled), Within(Marked(filledWhole), small));
            EXPECT_TRUE(outline.GuardsIntact() && filled.GuardsIntact());
        }
}

TEST(Circle, NothingWrapsRoundThe16BitEdge) {
    // A circle about h = 32765 reaches past 32767; nothing lands at the far left.
    PixMapBuffer map = GuardedMap(32, {0, -32768, 8, -32760});
    QDMP_Draw_Circle32(map.Handle(), 32765, 4, 6, 1);
    QDMP_Fill_Circle32(map.Handle(), 32765, 4, 6, 1);
    QDMP_Draw_Line32(map.Handle(), 32767, 0, 32767, 7, 1);
    EXPECT_TRUE(Marked(map).empty());
    EXPECT_TRUE(map.GuardsIntact());
}

TEST(Curve, EqualPointsWriteOnePixel) {
    const RGBColor white{65535, 65535, 65535};
    PixMapBuffer map = GuardedMap(32, kCanvas);
    QDMP_Draw_Curve(map.Handle(), P(4, -7), P(4, -7), P(4, -7), &white);
    EXPECT_EQ(Marked(map), (Pixels{{4, -7}}));
}

TEST(Curve, IsDrawnAsTheSixSegmentsOfItsHalvings) {
    const RGBColor white{65535, 65535, 65535};
    PixMapBuffer curve = GuardedMap(32, {-5, -5, 30, 30});
    QDMP_Draw_Curve(curve.Handle(), P(0, 0), P(10, 20), P(20, 0), &white);

    // The second half stops at once: (10, 10) to (10, 20) is exactly 100 squared.
    PixMapBuffer segments = GuardedMap(32, {-5, -5, 30, 30});
    const int lines[6][4] = {{0, 0, 2, 5},    {2, 5, 4, 7},     {4, 7, 7, 10},
                             {7, 10, 10, 10}, {10, 10, 15, 10}, {15, 10, 20, 0}};
    for (const auto& l : lines)
        QDMP_Draw_Line(segments.Handle(), SInt16(l[0]), SInt16(l[1]), SInt16(l[2]), SInt16(l[3]),
                       &white);
    EXPECT_EQ(Marked(curve), Marked(segments));
    EXPECT_TRUE(curve.GuardsIntact());
}

TEST(Curve, ExtremePointsEndAndStayInTheMap) {
    const RGBColor white{65535, 65535, 65535};
    PixMapBuffer map = GuardedMap(32, {-100, -100, 100, 100});
    QDMP_Draw_Curve(map.Handle(), P(-32768, -32768), P(32767, 32767), P(-32768, 32767), &white);
    QDMP_Draw_Curve(map.Handle(), P(-32768, 0), P(32767, 0), P(-32768, 0), &white);
    EXPECT_TRUE(map.GuardsIntact());
}

TEST(Drawing, GenericMembersDrawNothingOnOtherDepths) {
    const RGBColor white{65535, 65535, 65535};
    for (SInt16 depth : {1, 4, 24}) {
        PixMapBuffer map = GuardedMap(depth, kCanvas);
        QDMP_Draw_Line(map.Handle(), -5, -5, 5, 5, &white);
        QDMP_Fill_Rect(map.Handle(), Rect{-5, -5, 5, 5}, &white);
        QDMP_Draw_Circle(map.Handle(), 0, 0, 5, &white);
        QDMP_Fill_Circle(map.Handle(), 0, 0, 5, &white);
        QDMP_Draw_Curve(map.Handle(), P(-5, -5), P(0, 10), P(5, -5), &white);
        EXPECT_TRUE(Marked(map).empty()) << depth;
    }
}

} // namespace
