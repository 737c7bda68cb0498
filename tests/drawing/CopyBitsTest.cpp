// CopyBits against a slow reference, on ports laid over one shared buffer so
// that separate ports, one port, and two ports over the same pixels with
// different rows are all covered.
#include "QuickDraw.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Where a port lies in the shared buffer: its first pixel and row length in pixels.
struct Layout {
    size_t first;
    int stride;
    Rect bounds;
    size_t Index(int h, int v) const {
        return first + size_t(v - bounds.top) * stride + size_t(h - bounds.left);
    }
    bool Contains(int h, int v) const {
        return h >= bounds.left && h < bounds.right && v >= bounds.top && v < bounds.bottom;
    }
};

// The pixels the copy must leave: nearest neighbour at pixel centres, every
// destination pixel whose source pixel lies in the source port, read before
// anything is written.
std::vector<UInt32> Reference(const std::vector<UInt32>& before, const Layout& src,
                              const Layout& dst, const Rect& from, const Rect& to) {
    std::vector<UInt32> after = before;
    const int sw = from.right - from.left, sh = from.bottom - from.top;
    const int dw = to.right - to.left, dh = to.bottom - to.top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return after;
    for (int v = to.top; v < to.bottom; ++v)
        for (int h = to.left; h < to.right; ++h) {
            if (!dst.Contains(h, v)) continue;
            const int sx = from.left + int((2 * int64_t(h - to.left) + 1) * sw / (2 * int64_t(dw)));
            const int sy = from.top + int((2 * int64_t(v - to.top) + 1) * sh / (2 * int64_t(dh)));
            if (src.Contains(sx, sy)) after[dst.Index(h, v)] = before[src.Index(sx, sy)];
        }
    return after;
}

class SharedBuffer {
  public:
    explicit SharedBuffer(size_t size, unsigned seed = 1) : pixels(size) {
        std::mt19937 random(seed);
        for (UInt32& p : pixels)
            p = UInt32(random());
    }
    CGrafPtr Port(const Layout& layout) {
        CGrafPtr port = NewPortOnPixels(reinterpret_cast<Ptr>(&pixels[layout.first]),
                                        layout.stride * 4, &layout.bounds);
        ports.push_back(port);
        return port;
    }
    ~SharedBuffer() {
        for (CGrafPtr port : ports)
            DisposePortOnPixels(port);
    }
    std::vector<UInt32> pixels;
    std::vector<CGrafPtr> ports;
};

void Copy(CGrafPtr src, CGrafPtr dst, const Rect& from, const Rect& to) {
    CopyBits(GetPortBitMapForCopyBits(src), GetPortBitMapForCopyBits(dst), &from, &to, srcCopy,
             nullptr);
}

// Fails at the first pixel that differs, naming it.
void ExpectSamePixels(const std::vector<UInt32>& actual, const std::vector<UInt32>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "buffer index " << i;
}

// Two separate ports at non-zero bounds, in one buffer with a gap between them
// that nothing may write.
const Layout kSource = {40, 12, {5, -3, 15, 9}};     // 12 x 10 at (left -3, top 5)
const Layout kTarget = {200, 9, {-20, 30, -12, 39}}; // 9 x 8 at (left 30, top -20)

TEST(CopyBits, SameSizeCopiesPixelExactlyClippedToBothPorts) {
    struct Case {
        const char* what;
        Rect from, to;
    };
    const Case cases[] = {
        {"inside both", {6, -2, 10, 4}, {-19, 31, -15, 37}},
        {"the whole source onto part of the target", {5, -3, 15, 9}, {-20, 30, -10, 42}},
        {"source rectangle beyond the source port", {0, -8, 8, 2}, {-20, 30, -12, 40}},
        {"target rectangle beyond the target port", {5, -3, 15, 9}, {-25, 25, -15, 37}},
        {"entirely outside the target", {5, -3, 10, 2}, {0, 0, 5, 5}},
        {"entirely outside the source", {50, 50, 55, 55}, {-20, 30, -15, 35}},
        {"a single pixel", {14, 8, 15, 9}, {-13, 38, -12, 39}},
        {"empty", {6, -2, 6, 4}, {-19, 31, -19, 37}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SharedBuffer buffer(300);
        CGrafPtr src = buffer.Port(kSource), dst = buffer.Port(kTarget);
        const std::vector<UInt32> expected =
            Reference(buffer.pixels, kSource, kTarget, c.from, c.to);
        Copy(src, dst, c.from, c.to);
        ExpectSamePixels(buffer.pixels, expected);
    }
}

TEST(CopyBits, ScalesByNearestNeighbour) {
    // Doubling makes 2 x 2 blocks; halving keeps one pixel of each pair.
    SharedBuffer buffer(300);
    CGrafPtr src = buffer.Port(kSource), dst = buffer.Port(kTarget);
    const Rect from = {6, 0, 9, 3}, doubled = {-20, 30, -14, 36};
    Copy(src, dst, from, doubled);
    for (int v = 0; v < 6; ++v)
        for (int h = 0; h < 6; ++h)
            ASSERT_EQ(buffer.pixels[kTarget.Index(30 + h, -20 + v)],
                      buffer.pixels[kSource.Index(h / 2, 6 + v / 2)])
                << h << "," << v;

    const Rect wide = {5, -3, 13, 5}, halved = {-16, 33, -12, 37};
    const std::vector<UInt32> before = buffer.pixels;
    Copy(src, dst, wide, halved);
    for (int v = 0; v < 4; ++v)
        for (int h = 0; h < 4; ++h) {
            const UInt32 got = buffer.pixels[kTarget.Index(33 + h, -16 + v)];
            bool fromItsBlock = false;
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    fromItsBlock |= got == before[kSource.Index(-3 + 2 * h + x, 5 + 2 * v + y)];
            ASSERT_TRUE(fromItsBlock) << h << "," << v;
        }
}

// Random rectangles, many beyond the ports, for every way two ports can share
// pixels: apart, the same port, and one buffer seen with two row lengths.
TEST(CopyBits, RandomRectanglesMatchTheReference) {
    struct Pair {
        const char* what;
        Layout src, dst;
        bool samePort;
    };
    const Pair pairs[] = {
        {"separate ports", kSource, kTarget, false},
        {"one port", {10, 16, {-4, -4, 12, 12}}, {10, 16, {-4, -4, 12, 12}}, true},
        {"one buffer, two row lengths", {10, 16, {0, 0, 14, 16}}, {12, 8, {3, 2, 31, 10}}, false},
        {"one buffer, same rows, other bounds",
         {10, 16, {0, 0, 14, 16}},
         {30, 16, {20, 7, 32, 19}},
         false},
    };
    std::mt19937 random(7);
    auto coordinate = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    auto randomRect = [&](const Rect& around, int maxSide) {
        const SInt16 top = SInt16(coordinate(around.top - 6, around.bottom + 2));
        const SInt16 left = SInt16(coordinate(around.left - 6, around.right + 2));
        return Rect{top, left, SInt16(top + coordinate(0, maxSide)),
                    SInt16(left + coordinate(0, maxSide))};
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.what);
        for (int round = 0; round < 300; ++round) {
            SharedBuffer buffer(400, unsigned(round));
            CGrafPtr src = buffer.Port(pair.src);
            CGrafPtr dst = pair.samePort ? src : buffer.Port(pair.dst);
            const Rect from = randomRect(pair.src.bounds, 18);
            Rect to = randomRect(pair.dst.bounds, 18);
            if (round % 2 == 0) { // half the rounds copy at the same size
                to.bottom = SInt16(to.top + (from.bottom - from.top));
                to.right = SInt16(to.left + (from.right - from.left));
            }
            const std::vector<UInt32> expected =
                Reference(buffer.pixels, pair.src, pair.dst, from, to);
            Copy(src, dst, from, to);
            ExpectSamePixels(buffer.pixels, expected);
            if (HasFatalFailure()) {
                ADD_FAILURE() << "from " << from.top << "," << from.left << "," << from.bottom
                              << "," << from.right << " to " << to.top << "," << to.left << ","
                              << to.bottom << "," << to.right;
                return;
            }
        }
    }
}

TEST(CopyBits, CopiesBetweenOffscreenWorldsAndIntoACallersPort) {
    // The canvas path: a world at (0, 0) onto a rectangle of a larger port.
    const Rect canvasBounds = {0, 0, 20, 30};
    GWorldPtr canvas = nullptr;
    ASSERT_EQ(NewGWorld(&canvas, 32, &canvasBounds, nullptr, nullptr, useTempMem), noErr);
    CGrafPtr saved = nullptr;
    GDHandle savedDevice = nullptr;
    GetGWorld(&saved, &savedDevice);
    SetGWorld(canvas, nullptr);
    ForeColor(greenColor);
    PaintRect(&canvasBounds);
    SetGWorld(saved, savedDevice);

    std::vector<UInt32> screen(60 * 50, 0x123456);
    const Rect screenBounds = {0, 0, 50, 60};
    CGrafPtr port = NewPortOnPixels(reinterpret_cast<Ptr>(screen.data()), 60 * 4, &screenBounds);
    const Rect visualizer = {10, 15, 30, 45};
    CopyBits(GetPortBitMapForCopyBits(canvas), GetPortBitMapForCopyBits(port), &canvasBounds,
             &visualizer, srcCopy, nullptr);
    for (int v = 0; v < 50; ++v)
        for (int h = 0; h < 60; ++h) {
            const bool inside = v >= 10 && v < 30 && h >= 15 && h < 45;
            ASSERT_EQ(screen[size_t(v) * 60 + h], inside ? 0x00FF00u : 0x123456u) << h << "," << v;
        }
    DisposePortOnPixels(port);
    DisposeGWorld(canvas);
}

TEST(CopyBits, RefusesWhatItCannotCopy) {
    SharedBuffer buffer(300);
    CGrafPtr src = buffer.Port(kSource), dst = buffer.Port(kTarget);
    const Rect from = {5, -3, 13, 9}, to = {-20, 30, -12, 42};
    const std::vector<UInt32> before = buffer.pixels;
    const BitMap* srcBits = GetPortBitMapForCopyBits(src);
    const BitMap* dstBits = GetPortBitMapForCopyBits(dst);
    CopyBits(nullptr, dstBits, &from, &to, srcCopy, nullptr);
    CopyBits(srcBits, nullptr, &from, &to, srcCopy, nullptr);
    CopyBits(srcBits, dstBits, nullptr, &to, srcCopy, nullptr);
    CopyBits(srcBits, dstBits, &from, nullptr, srcCopy, nullptr);
    CopyBits(srcBits, dstBits, &from, &to, srcCopy,
             reinterpret_cast<RgnHandle>(0x10)); // masks are not offered
    EXPECT_EQ(GetPortBitMapForCopyBits(nullptr), nullptr);

    // A port disposed since its bitmap was taken is not copied from.
    const Layout spare = {0, 4, {0, 0, 4, 4}};
    CGrafPtr gone = NewPortOnPixels(reinterpret_cast<Ptr>(buffer.pixels.data()), 16, &spare.bounds);
    const BitMap* goneBits = GetPortBitMapForCopyBits(gone);
    DisposePortOnPixels(gone);
    CopyBits(goneBits, dstBits, &spare.bounds, &to, srcCopy, nullptr);
    ExpectSamePixels(buffer.pixels, before);

    // Other modes copy as srcCopy.
    CopyBits(srcBits, dstBits, &from, &to, srcOr, nullptr);
    ExpectSamePixels(buffer.pixels, Reference(before, kSource, kTarget, from, to));
}

} // namespace
