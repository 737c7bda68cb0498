// The offscreen canvas follows show, set-window and hide, driven through the
// real bundle by the test host; the visualizer port wraps the test's own pixels.
#include "TestHost.h"
#include "VisualPluginData.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zt::test::TestHost;

// A 32-bit frame buffer and a port over it.
struct FrameBuffer {
    FrameBuffer(int width, int height) : width(width), pixels(size_t(width) * height, 0x00123456) {
        Rect bounds = {0, 0, SInt16(height), SInt16(width)};
        port = NewPortOnPixels(reinterpret_cast<Ptr>(pixels.data()), width * 4, &bounds);
    }
    ~FrameBuffer() { DisposePortOnPixels(port); }
    UInt32 At(int h, int v) const { return pixels[size_t(v) * width + h]; }
    int width;
    std::vector<UInt32> pixels;
    CGrafPtr port = nullptr;
};

bool SameRect(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

class Canvas : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(host.CallEntry(FourCC("init")), noErr);
        ASSERT_EQ(host.InitVisual(), noErr);
        GetGWorld(&startPort, &startDevice);
    }
    void TearDown() override { host.Send(FourCC("hide")); }

    VisualPluginData& data() { return *static_cast<VisualPluginData*>(host.refCon()); }

    OSStatus Show(OSType message, CGrafPtr port, Rect rect) {
        VisualPluginMessageInfo info{};
        info.showWindowMessage.port = port; // same layout for 'swin'
        info.showWindowMessage.drawRect = rect;
        OSStatus status = host.Send(message, &info);
        CGrafPtr nowPort;
        GDHandle nowDevice;
        GetGWorld(&nowPort, &nowDevice);
        EXPECT_EQ(nowPort, startPort) << "the current port was not restored";
        EXPECT_EQ(nowDevice, startDevice);
        return status;
    }

    static UInt32 CanvasPixel(GWorldPtr canvas, int h, int v) {
        PixMapHandle pm = GetGWorldPixMap(canvas);
        auto* row = reinterpret_cast<const UInt8*>(GetPixBaseAddr(pm)) + v * GetPixRowBytes(pm);
        return reinterpret_cast<const UInt32*>(row)[h];
    }

    TestHost host;
    FrameBuffer screen{640, 480};
    FrameBuffer other{640, 480};
    CGrafPtr startPort = nullptr;
    GDHandle startDevice = nullptr;
};

TEST_F(Canvas, ANewCanvasIsBlackAndOfTheRectanglesSize) {
    // With no movies, 'show' draws the notice on the canvas at once; 'swin' to a
    // new rectangle makes a fresh canvas and draws nothing.
    ASSERT_EQ(Show(FourCC("show"), screen.port, Rect{0, 0, 100, 100}), noErr);
    const Rect rect = {100, 50, 340, 370};
    ASSERT_EQ(Show(FourCC("swin"), screen.port, rect), noErr);
    ASSERT_NE(data().offscreen, nullptr);
    EXPECT_EQ(data().destPort, screen.port);
    EXPECT_TRUE(SameRect(data().destRect, rect));
    PixMapHandle pm = GetGWorldPixMap(data().offscreen);
    EXPECT_EQ((*pm)->pixelSize, 32);
    EXPECT_TRUE(SameRect((*pm)->bounds, Rect{0, 0, 240, 320}));
    for (int v = 0; v < 240; v += 7)
        for (int h = 0; h < 320; h += 5) ASSERT_EQ(CanvasPixel(data().offscreen, h, v) & 0xFFFFFF, 0u);
}

TEST_F(Canvas, SetWindowKeepsOrRemakesTheCanvasByTheRectangle) {
    const Rect rect = {0, 0, 200, 300};
    ASSERT_EQ(Show(FourCC("show"), screen.port, rect), noErr);
    GWorldPtr first = data().offscreen;
    // Mark the canvas: a kept canvas keeps the mark, a remade one is black again.
    SetGWorld(first, nullptr);
    ForeColor(whiteColor);
    Rect dot = {0, 0, 1, 1};
    PaintRect(&dot);
    SetGWorld(startPort, startDevice);

    // Another port, the same rectangle: the canvas is kept, the port recorded.
    ASSERT_EQ(Show(FourCC("swin"), other.port, rect), noErr);
    EXPECT_EQ(data().offscreen, first);
    EXPECT_EQ(data().destPort, other.port);
    EXPECT_NE(CanvasPixel(data().offscreen, 0, 0) & 0xFFFFFF, 0u);

    // The same size elsewhere: the canvas is remade.
    const Rect moved = {10, 10, 210, 310};
    ASSERT_EQ(Show(FourCC("swin"), other.port, moved), noErr);
    ASSERT_NE(data().offscreen, nullptr);
    EXPECT_EQ(CanvasPixel(data().offscreen, 0, 0) & 0xFFFFFF, 0u);
    EXPECT_TRUE(SameRect(data().destRect, moved));

    // Hide: no canvas, no port, the rectangle kept; a second hide is harmless.
    host.Send(FourCC("hide"));
    EXPECT_EQ(data().offscreen, nullptr);
    EXPECT_EQ(data().destPort, nullptr);
    EXPECT_TRUE(SameRect(data().destRect, moved));
    host.Send(FourCC("hide"));
    EXPECT_EQ(data().offscreen, nullptr);
}

TEST_F(Canvas, AFailedCanvasReturnsTheErrorAndTheNextShowAllocatesAfresh) {
    const Rect absurd = {100, 100, 50, 50}; // bottom above top: no canvas can be made
    OSStatus status = Show(FourCC("show"), screen.port, absurd);
    EXPECT_NE(status, noErr);
    EXPECT_EQ(data().offscreen, nullptr);
    EXPECT_EQ(data().destPort, nullptr);
    EXPECT_TRUE(SameRect(data().destRect, absurd));
    host.Send(FourCC("hide"));

    ASSERT_EQ(Show(FourCC("show"), screen.port, Rect{0, 0, 100, 100}), noErr);
    EXPECT_NE(data().offscreen, nullptr);
    EXPECT_EQ(data().destPort, screen.port);
}

} // namespace
