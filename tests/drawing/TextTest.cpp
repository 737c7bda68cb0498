// DrawString, text size and mode, the pen, and CopyCStringToPascal.
#include "TestPort.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using zt::test::TestPort;

// A length-prefixed copy of short text.
struct Pascal {
    explicit Pascal(const std::string& text) { CopyCStringToPascal(text.c_str(), bytes); }
    Str255 bytes;
};

constexpr UInt32 kUntouched = 0x00123456;

// The box of pixels that differ from `background`; empty when none do.
struct InkBox {
    int top = 1 << 30, left = 1 << 30, bottom = -(1 << 30), right = -(1 << 30);
    bool Empty() const { return bottom < top; }
    int Height() const { return Empty() ? 0 : bottom - top; }
};
InkBox FindInk(const TestPort& port, UInt32 background) {
    InkBox box;
    const Rect& b = port.bounds();
    for (int v = b.top; v < b.bottom; ++v)
        for (int h = b.left; h < b.right; ++h)
            if (port.At(h, v) != background) {
                box.top = std::min(box.top, v), box.bottom = std::max(box.bottom, v + 1);
                box.left = std::min(box.left, h), box.right = std::max(box.right, h + 1);
            }
    return box;
}

TEST(DrawString, InkStandsOnTheBaselineFromThePenInTheForeColorOnTheBackColor) {
    TestPort port({0, 0, 60, 200}, kUntouched);
    ForeColor(blueColor);
    BackColor(yellowColor);
    TextSize(24);
    TextMode(srcCopy);
    MoveTo(10, 40);
    DrawString(Pascal("HIH").bytes);

    Point pen{};
    GetPen(&pen);
    EXPECT_EQ(pen.v, 40);
    const int width = StringWidth(Pascal("HIH").bytes);
    EXPECT_GT(width, 30);
    EXPECT_EQ(pen.h, 10 + width);

    // The line box, from the pen to the new pen, is painted; nothing beside it is.
    bool glyphInk = false, fullInk = false;
    int lowestInk = -1, highestInk = 1000, leftmostInk = 1000;
    for (int v = 0; v < 60; ++v)
        for (int h = 0; h < 200; ++h) {
            const UInt32 p = port.At(h, v);
            if (p == kUntouched) continue;
            ASSERT_TRUE(h >= 10 && h < pen.h)
                << "painted outside the text's width at " << h << "," << v;
            // Every painted pixel lies between yellow and blue: r == g == 255 - b.
            const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            ASSERT_EQ(p >> 24, 0u);
            ASSERT_EQ(r, g) << h << "," << v;
            ASSERT_NEAR(r + b, 255, 1) << h << "," << v;
            if (p != 0xFFFF00) {
                glyphInk = true;
                fullInk = fullInk || p == 0x0000FF;
                lowestInk = std::max(lowestInk, v);
                highestInk = std::min(highestInk, v);
                leftmostInk = std::min(leftmostInk, h);
            }
        }
    ASSERT_TRUE(glyphInk);
    EXPECT_TRUE(fullInk) << "stems are drawn in the fore colour itself";
    EXPECT_EQ(lowestInk, 39) << "the glyphs stand on the row above the baseline";
    EXPECT_NEAR(40 - highestInk, 17, 2) << "capital height at 24 pixels";
    EXPECT_GE(leftmostInk, 10);
    EXPECT_LE(leftmostInk, 14);
    // The box reaches a little above the capitals and below the baseline.
    EXPECT_EQ(port.At(pen.h - 1, 41), 0xFFFF00u);
    EXPECT_EQ(port.At(pen.h - 1, highestInk - 2), 0xFFFF00u);
    EXPECT_EQ(port.At(pen.h, 30), kUntouched);
    port.ExpectGuardsIntact();
}

TEST(DrawString, DescendersHangBelowTheBaseline) {
    TestPort port({0, 0, 60, 100}, 0xFFFFFF);
    TextSize(24);
    MoveTo(5, 30);
    DrawString(Pascal("gjpq").bytes);
    const InkBox ink = FindInk(port, 0xFFFFFF);
    EXPECT_GT(ink.bottom, 33) << "descenders reach below the baseline";
    EXPECT_LT(ink.top, 30 - 10);
}

TEST(DrawString, TextSizeSetsTheInkHeightInPixels) {
    int previous = 0;
    for (const SInt16 size : {8, 12, 24, 48, 96}) {
        TestPort port({0, 0, 120, 120}, 0xFFFFFF);
        TextSize(size);
        MoveTo(2, 110);
        DrawString(Pascal("H").bytes);
        const int height = FindInk(port, 0xFFFFFF).Height();
        EXPECT_NEAR(height, 0.73 * size, 1.0 + size * 0.03)
            << "size " << size; // DejaVu's capital height
        EXPECT_GT(height, previous);
        previous = height;
    }
    // Size 0 is the default of 12.
    TestPort port({0, 0, 20, 80});
    TextSize(0);
    const int atDefault = StringWidth(Pascal("Hello").bytes);
    TextSize(12);
    EXPECT_EQ(StringWidth(Pascal("Hello").bytes), atDefault);
}

TEST(DrawString, SrcOrDrawsOnlyTheGlyphsAndSrcCopyTheirBox) {
    TestPort port({0, 0, 40, 80}, kUntouched);
    ForeColor(blackColor);
    BackColor(whiteColor);
    TextSize(12);
    MoveTo(4, 20);
    DrawString(Pascal("o").bytes); // a new port draws in srcOr
    // Inside the 'o's counter the pixels stay as they were.
    const InkBox ink = FindInk(port, kUntouched);
    ASSERT_FALSE(ink.Empty());
    EXPECT_EQ(port.At((ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2), kUntouched);

    TextMode(srcCopy);
    MoveTo(4, 20);
    DrawString(Pascal("o").bytes);
    EXPECT_EQ(port.At((ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2), 0xFFFFFFu);

    // Modes that are not text modes leave the mode as it was.
    TextMode(99);
    port.Fill(kUntouched);
    MoveTo(4, 20);
    DrawString(Pascal("o").bytes);
    EXPECT_EQ(port.At((ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2), 0xFFFFFFu);
}

TEST(DrawString, BicDrawsInTheBackColorAndXorInvertsUnderTheGlyphs) {
    struct Case {
        SInt16 mode;
        UInt32 fullInk; // what a fully covered pixel becomes over kUntouched
    };
    const Case cases[] = {{srcBic, 0x00FF00}, {srcXor, 0xFFFFFF - kUntouched}, {srcOr, 0xFF0000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TestPort port({0, 0, 40, 60}, kUntouched);
        ForeColor(redColor);
        BackColor(greenColor);
        TextSize(30);
        TextMode(c.mode);
        MoveTo(4, 30);
        DrawString(Pascal("l").bytes); // one stem, fully covered in its middle
        int full = 0;
        for (int v = 0; v < 40; ++v)
            for (int h = 0; h < 60; ++h) {
                const UInt32 p = port.At(h, v);
                full += p == c.fullInk;
                if (c.mode == srcOr) continue;
                ASSERT_NE(p, 0xFF0000u) << "the fore colour at " << h << "," << v;
            }
        EXPECT_GT(full, 20) << "the stem of an 'l' at 30 pixels";
        EXPECT_EQ(port.At(2, 10), kUntouched) << "no line box outside srcCopy";
    }
}

TEST(DrawString, NothingIsWrittenOutsideThePort) {
    struct Case {
        const char* what;
        SInt16 h, v, size;
    };
    const Case cases[] = {
        {"over the left edge", -7, 15, 20},
        {"over the right edge", 20, 15, 20},
        {"over the top", 2, 4, 20},
        {"over the bottom", 2, 22, 20},
        {"larger than the port", -10, 40, 200},
        {"far outside", 30000, -30000, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestPort port({-5, -5, 20, 30}, kUntouched);
        TextSize(c.size);
        TextMode(srcCopy);
        MoveTo(c.h, c.v);
        DrawString(Pascal("Wjg\xC3\xA9|").bytes);
        port.ExpectGuardsIntact();
    }
}

TEST(DrawString, ReadsTheBytesAsUtf8AndMovesThePenOnlyByTheText) {
    TestPort port({0, 0, 40, 200});
    TextSize(16);
    // One two-byte character is one glyph, as wide as its base letter here.
    EXPECT_EQ(StringWidth(Pascal("\xC3\xA9").bytes), StringWidth(Pascal("e").bytes));
    // A lone or broken byte is still drawn, as a replacement mark.
    EXPECT_GT(StringWidth(Pascal("\xC3").bytes), 0);
    EXPECT_EQ(StringWidth(Pascal("\xC3"
                                 "a")
                              .bytes),
              StringWidth(Pascal("\xFF").bytes) + StringWidth(Pascal("a").bytes));

    // The pen keeps moving from where the last string ended; an empty string leaves it.
    MoveTo(3, 30);
    DrawString(Pascal("ab").bytes);
    DrawString(Pascal("").bytes);
    DrawString(nullptr);
    DrawString(Pascal("cd").bytes);
    Point pen{};
    GetPen(&pen);
    EXPECT_EQ(pen.h, 3 + StringWidth(Pascal("ab").bytes) + StringWidth(Pascal("cd").bytes));
    EXPECT_EQ(pen.v, 30);
}

TEST(CopyCStringToPascal, CopiesAtMost255Bytes) {
    for (const size_t length :
         {size_t(0), size_t(1), size_t(254), size_t(255), size_t(256), size_t(300)}) {
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += char('a' + i % 26);
        Str255 out;
        std::fill(std::begin(out), std::end(out), 0xEE);
        CopyCStringToPascal(text.c_str(), out);
        const size_t kept = std::min<size_t>(length, 255);
        ASSERT_EQ(out[0], kept) << length;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(out + 1), kept), text.substr(0, kept));
        if (kept < 255) {
            EXPECT_EQ(out[kept + 1], 0xEE) << "wrote past the text";
        }
    }
}

TEST(CopyCStringToPascal, NeverSplitsAUtf8CharacterAndWorksInPlace) {
    // 254 ASCII bytes then a two-byte character: the character does not fit whole.
    const std::string split = std::string(254, 'x') + "\xC3\xA9" + "tail";
    Str255 out;
    CopyCStringToPascal(split.c_str(), out);
    EXPECT_EQ(out[0], 254);
    // 253 ASCII bytes then the character: it ends exactly at byte 255.
    const std::string fits = std::string(253, 'x') + "\xC3\xA9" + "tail";
    CopyCStringToPascal(fits.c_str(), out);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[255], 0xA9);
    // A four-byte character cut after its first byte.
    const std::string emoji = std::string(254, 'x') + "\xF0\x9F\x8E\xAC";
    CopyCStringToPascal(emoji.c_str(), out);
    EXPECT_EQ(out[0], 254);

    // In place, as the toolbox always allowed.
    Str255 buffer;
    std::snprintf(reinterpret_cast<char*>(buffer), sizeof buffer, "in place");
    CopyCStringToPascal(reinterpret_cast<const char*>(buffer), buffer);
    EXPECT_EQ(buffer[0], 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer + 1), 8), "in place");

    CopyCStringToPascal(nullptr, out);
    EXPECT_EQ(out[0], 0);
    CopyCStringToPascal("x", nullptr);
}

} // namespace
