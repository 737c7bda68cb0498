// Colours and PaintRect, checked on every pixel of a small port.
#include "TestPort.h"

#include <gtest/gtest.h>

namespace {

using zt::test::TestPort;

TEST(PaintRect, FillsTheRectangleClippedToThePortInTheForeColor) {
    struct Case {
        const char* what;
        Rect paint;
    };
    // The port is (top 10, left -4, bottom 18, right 6): non-zero, partly negative bounds.
    const Case cases[] = {
        {"inside", {12, -2, 15, 3}},
        {"the whole port", {10, -4, 18, 6}},
        {"over every edge", {-100, -100, 100, 100}},
        {"over the top left", {0, -10, 12, -3}},
        {"over the bottom right", {17, 5, 30, 30}},
        {"a single pixel", {14, 0, 15, 1}},
        {"empty", {12, 2, 12, 5}},
        {"upside down", {15, 3, 12, -2}},
        {"outside", {20, 0, 30, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestPort port({10, -4, 18, 6}, 0x00123456);
        ForeColor(redColor);
        PaintRect(&c.paint);
        for (int v = 10; v < 18; ++v)
            for (int h = -4; h < 6; ++h) {
                bool painted = v >= c.paint.top && v < c.paint.bottom && h >= c.paint.left &&
                               h < c.paint.right;
                ASSERT_EQ(port.At(h, v), painted ? 0x00FF0000u : 0x00123456u) << h << "," << v;
            }
        port.ExpectGuardsIntact();
    }
    PaintRect(nullptr);
}

TEST(ForeColor, TheEightConstantsGivePureColorsWithATopByteOfZero) {
    struct Case {
        SInt32 constant;
        UInt32 pixel;
    };
    const Case cases[] = {
        {blackColor, 0x000000},   {whiteColor, 0xFFFFFF},  {redColor, 0xFF0000},
        {greenColor, 0x00FF00},   {blueColor, 0x0000FF},   {cyanColor, 0x00FFFF},
        {magentaColor, 0xFF00FF}, {yellowColor, 0xFFFF00},
    };
    TestPort port({0, 0, 2, 2}, 0xFF777777);
    const Rect one = {0, 0, 1, 1};
    for (const Case& c : cases) {
        ForeColor(c.constant);
        PaintRect(&one);
        EXPECT_EQ(port.At(0, 0), c.pixel) << c.constant;
    }
    // Anything else leaves the colour as it was.
    ForeColor(redColor);
    ForeColor(12345);
    PaintRect(&one);
    EXPECT_EQ(port.At(0, 0), 0xFF0000u);
    // An RGB colour keeps the upper byte of each component.
    const RGBColor rgb = {0x12FF, 0x3400, 0xABCD};
    RGBForeColor(&rgb);
    PaintRect(&one);
    EXPECT_EQ(port.At(0, 0), 0x1234ABu);
    RGBForeColor(nullptr);
    EXPECT_EQ(port.At(1, 1), 0xFF777777u);
}

TEST(ForeColor, EachPortKeepsItsOwnColors) {
    TestPort first({0, 0, 1, 1});
    ForeColor(blueColor);
    TestPort second({0, 0, 1, 1}); // now current, black on white like any new port
    const Rect one = {0, 0, 1, 1};
    PaintRect(&one);
    EXPECT_EQ(second.At(0, 0), 0x000000u);
    first.MakeCurrent();
    PaintRect(&one);
    EXPECT_EQ(first.At(0, 0), 0x0000FFu);
    second.MakeCurrent();
}

} // namespace
