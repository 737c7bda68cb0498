// With no movie, every frame paints the five-line notice and copies it to the
// visualizer rectangle. Pixels are checked, not a checksum of a font rendering.
#include "TestHost.h"
#include "VisualPluginData.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zt::test::TestHost;

const int kWidth = 300, kHeight = 200;
const int kBaselines[] = {125, 140, 155, 170, 185}; // from the top of the visualizer

struct Screen {
    // The visualizer rectangle sits at (left 20, top 30) of a larger port.
    Screen() : pixels(size_t(kPortWidth) * kPortHeight, kPaint) {
        Rect bounds = {0, 0, kPortHeight, kPortWidth};
        port = NewPortOnPixels(reinterpret_cast<Ptr>(pixels.data()), kPortWidth * 4, &bounds);
    }
    ~Screen() { DisposePortOnPixels(port); }
    // A pixel of the visualizer, by its own coordinates.
    UInt32 At(int h, int v) const { return pixels[size_t(v + kTop) * kPortWidth + h + kLeft] & 0xFFFFFF; }
    UInt32 PortAt(int h, int v) const { return pixels[size_t(v) * kPortWidth + h]; }
    bool IsInk(int h, int v) const {
        UInt32 p = At(h, v);
        return ((p >> 16) & 0xFF) < 128 && ((p >> 8) & 0xFF) < 128 && (p & 0xFF) < 128;
    }
    bool RowHasInk(int v) const {
        for (int h = 0; h < kWidth; ++h)
            if (IsInk(h, v)) return true;
        return false;
    }
    static constexpr SInt16 kPortWidth = 400, kPortHeight = 300, kLeft = 20, kTop = 30;
    static constexpr UInt32 kPaint = 0x00123456;
    std::vector<UInt32> pixels;
    CGrafPtr port = nullptr;
};

class Notice : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(host.CallEntry(FourCC("init")), noErr);
        ASSERT_EQ(host.InitVisual(), noErr);
    }
    void TearDown() override { host.Send(FourCC("hide")); }
    OSStatus Show() {
        VisualPluginMessageInfo info{};
        info.showWindowMessage.port = screen.port;
        info.showWindowMessage.drawRect = {Screen::kTop, Screen::kLeft,
                                           SInt16(Screen::kTop + kHeight),
                                           SInt16(Screen::kLeft + kWidth)};
        return host.Send(FourCC("show"), &info);
    }
    TestHost host;
    Screen screen;
};

TEST_F(Notice, FiveLinesOfBlackTextOnWhiteAtTheirBaselines) {
    ASSERT_EQ(Show(), noErr); // nothing stored with the host: no movies, the notice at once

    // Every pixel is white or a shade of grey text.
    for (int v = 0; v < kHeight; ++v)
        for (int h = 0; h < kWidth; ++h) {
            UInt32 p = screen.At(h, v);
            UInt32 r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            ASSERT_TRUE(r == g && g == b) << "not grey at " << h << "," << v;
        }

    // Lines 1, 2, 4 and 5 have ink on the rows just above their baselines; line 3
    // is a single space. Nothing is drawn above the first line or left of 5.
    for (int line : {0, 1, 3, 4}) {
        int baseline = kBaselines[line];
        EXPECT_TRUE(screen.RowHasInk(baseline - 1)) << "line " << line + 1;
        EXPECT_TRUE(screen.RowHasInk(baseline - 6)) << "line " << line + 1;
    }
    for (int v = 0; v < kBaselines[0] - 14; ++v) ASSERT_FALSE(screen.RowHasInk(v)) << "row " << v;
    for (int v = kBaselines[1] + 5; v < kBaselines[3] - 12; ++v)
        ASSERT_FALSE(screen.RowHasInk(v)) << "row " << v << " between lines 2 and 4";
    for (int v = kBaselines[4] + 5; v < kHeight; ++v) ASSERT_FALSE(screen.RowHasInk(v)) << "row " << v;
    for (int v = 0; v < kHeight; ++v)
        for (int h = 0; h < 5; ++h) ASSERT_FALSE(screen.IsInk(h, v)) << h << "," << v;
    // Each line starts at the sixth column: ink within its first few columns.
    for (int line : {0, 3, 4}) {
        bool inkNearStart = false;
        for (int v = kBaselines[line] - 10; v <= kBaselines[line]; ++v)
            for (int h = 5; h < 8; ++h) inkNearStart = inkNearStart || screen.IsInk(h, v);
        EXPECT_TRUE(inkNearStart) << "line " << line + 1;
    }
    // Outside the visualizer rectangle the port is untouched.
    EXPECT_EQ(screen.PortAt(0, 0), Screen::kPaint);
    EXPECT_EQ(screen.PortAt(Screen::kLeft - 1, Screen::kTop + 100), Screen::kPaint);
    EXPECT_EQ(screen.PortAt(Screen::kLeft + kWidth, Screen::kTop + 100), Screen::kPaint);
    EXPECT_EQ(screen.PortAt(Screen::kLeft + 100, Screen::kTop + kHeight), Screen::kPaint);
}

TEST_F(Notice, IdleFramesDrawOnlyWhileNotPlaying) {
    ASSERT_EQ(Show(), noErr);
    std::fill(screen.pixels.begin(), screen.pixels.end(), Screen::kPaint);
    host.Send(FourCC("vply")); // a NULL track: nothing to build, but playing
    host.Send(FourCC("null"));
    EXPECT_EQ(screen.At(0, 0), Screen::kPaint) << "an idle frame drew while playing";
    host.Send(FourCC("vrnd"));
    EXPECT_EQ(screen.At(0, 0), 0xFFFFFFu) << "a render frame did not draw";

    std::fill(screen.pixels.begin(), screen.pixels.end(), Screen::kPaint);
    host.Send(FourCC("vpau"));
    EXPECT_EQ(screen.At(0, 0), 0xFFFFFFu) << "pause draws at once";
    std::fill(screen.pixels.begin(), screen.pixels.end(), Screen::kPaint);
    host.Send(FourCC("null"));
    EXPECT_EQ(screen.At(0, 0), 0xFFFFFFu) << "an idle frame did not draw while paused";
}

} // namespace
