// Offscreen worlds, ports over caller-owned pixels, and the current port.
#include "QuickDraw.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool SameRect(const Rect& a, const Rect& b) {
    return EqualRect(&a, &b);
}

GWorldPtr const kSentinel = reinterpret_cast<GWorldPtr>(0x10);

TEST(GWorld, KeepsItsBoundsAndHasZeroedThirtyTwoBitPixels) {
    for (const Rect bounds : {Rect{0, 0, 3, 5}, Rect{-20, 40, 10, 47}, Rect{0, 0, 720, 1280}}) {
        GWorldPtr world = kSentinel;
        ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, useTempMem), noErr);
        ASSERT_NE(world, nullptr);
        PixMapHandle pm = GetGWorldPixMap(world);
        ASSERT_NE(pm, nullptr);
        EXPECT_EQ(GetPortPixMap(world), pm);
        EXPECT_TRUE(LockPixels(pm));
        EXPECT_EQ((*pm)->pixelSize, 32);
        EXPECT_TRUE(SameRect((*pm)->bounds, bounds));
        Rect portBounds{};
        EXPECT_EQ(GetPortBounds(world, &portBounds), &portBounds);
        EXPECT_TRUE(SameRect(portBounds, bounds));

        const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
        const SInt32 rowBytes = GetPixRowBytes(pm);
        ASSERT_GE(rowBytes, width * 4);
        const auto* base = reinterpret_cast<const UInt8*>(GetPixBaseAddr(pm));
        ASSERT_NE(base, nullptr);
        for (int v = 0; v < height; ++v) {
            const auto* row = reinterpret_cast<const UInt32*>(base + v * rowBytes);
            for (int h = 0; h < width; ++h)
                ASSERT_EQ(row[h], 0u) << h << "," << v;
        }
        UnlockPixels(pm);
        EXPECT_EQ(GetGWorldPixMap(world), pm) << "the handle moved";
        DisposeGWorld(world);
    }
}

TEST(GWorld, FailureLeavesNoWorld) {
    struct Case {
        const char* what;
        SInt16 depth;
        Rect bounds;
    };
    const Case cases[] = {
        {"depth 16", 16, {0, 0, 10, 10}},
        {"depth 8", 8, {0, 0, 10, 10}},
        {"depth 0", 0, {0, 0, 10, 10}},
        {"empty", 32, {0, 0, 0, 10}},
        {"no width", 32, {5, 5, 10, 5}},
        {"upside down", 32, {100, 100, 50, 50}},
        {"too many pixels", 32, {-32768, -32768, 32767, 32767}},
        {"too wide", 32, {0, -30000, 1, 30000}},
    };
    for (const Case& c : cases) {
        GWorldPtr world = kSentinel;
        EXPECT_NE(NewGWorld(&world, c.depth, &c.bounds, nullptr, nullptr, 0), noErr) << c.what;
        EXPECT_EQ(world, nullptr) << c.what;
    }
    GWorldPtr world = kSentinel;
    EXPECT_EQ(NewGWorld(&world, 32, nullptr, nullptr, nullptr, 0), paramErr);
    EXPECT_EQ(world, nullptr);
    EXPECT_EQ(NewGWorld(nullptr, 32, &cases[0].bounds, nullptr, nullptr, 0), paramErr);
}

TEST(CurrentPort, StartsAtALiveDefaultPortAndRoundTrips) {
    CGrafPtr start = nullptr;
    GDHandle startDevice = reinterpret_cast<GDHandle>(0x10);
    GetGWorld(&start, &startDevice);
    ASSERT_NE(start, nullptr) << "the default port";
    EXPECT_EQ(startDevice, nullptr);
    ASSERT_NE(GetPortPixMap(start), nullptr);
    EXPECT_EQ((*GetPortPixMap(start))->pixelSize, 32);

    const Rect bounds = {0, 0, 4, 4};
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
    const GDHandle device = reinterpret_cast<GDHandle>(0x1234);
    SetGWorld(world, device);
    CGrafPtr now = nullptr;
    GDHandle nowDevice = nullptr;
    GetGWorld(&now, &nowDevice);
    EXPECT_EQ(now, world);
    EXPECT_EQ(nowDevice, device);

    SetGWorld(start, startDevice);
    GetGWorld(&now, &nowDevice);
    EXPECT_EQ(now, start);
    EXPECT_EQ(nowDevice, startDevice);

    // SetGWorld(NULL) goes back to the default port.
    SetGWorld(world, nullptr);
    SetGWorld(nullptr, nullptr);
    GetGWorld(&now, nullptr);
    EXPECT_EQ(now, start);
    DisposeGWorld(world);
}

TEST(CurrentPort, DisposingTheCurrentPortMakesTheDefaultCurrent) {
    CGrafPtr defaultPort = nullptr;
    GetGWorld(&defaultPort, nullptr);
    const Rect bounds = {0, 0, 4, 4};
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
    SetGWorld(world, nullptr);
    DisposeGWorld(world);
    CGrafPtr now = nullptr;
    GetGWorld(&now, nullptr);
    EXPECT_EQ(now, defaultPort);
    // Drawing now lands in the default port, not in freed memory.
    Rect all = {-100, -100, 100, 100};
    PaintRect(&all);
}

TEST(CurrentPort, StalePortsAndNullAreRefusedQuietly) {
    const Rect bounds = {0, 0, 4, 4};
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
    DisposeGWorld(world);
    DisposeGWorld(world); // a second disposal is logged and ignored
    DisposeGWorld(nullptr);
    DisposePortOnPixels(nullptr);
    EXPECT_EQ(GetGWorldPixMap(world), nullptr);
    EXPECT_EQ(GetPortPixMap(nullptr), nullptr);
    Rect r = {1, 2, 3, 4};
    GetPortBounds(world, &r);
    EXPECT_TRUE(SameRect(r, Rect{0, 0, 0, 0}));
    EXPECT_EQ(GetPortBounds(world, nullptr), nullptr);
    EXPECT_FALSE(LockPixels(nullptr));

    CGrafPtr defaultPort = nullptr;
    GetGWorld(&defaultPort, nullptr);
    SetGWorld(world, nullptr); // not live: the default port becomes current
    CGrafPtr now = nullptr;
    GetGWorld(&now, nullptr);
    EXPECT_EQ(now, defaultPort);
    DisposeGWorld(defaultPort); // the toolbox's own port is not given away
    EXPECT_NE(GetPortPixMap(defaultPort), nullptr);
}

TEST(PortOnPixels, WrapsTheCallersPixelsAndLeavesThemOnDisposal) {
    std::vector<UInt32> pixels(8 * 6, 0xABCDEF);
    const Rect bounds = {10, 20, 16, 27}; // 7 wide, 6 tall, in rows of 8
    CGrafPtr port = NewPortOnPixels(reinterpret_cast<Ptr>(pixels.data()), 8 * 4, &bounds);
    ASSERT_NE(port, nullptr);
    PixMapHandle pm = GetPortPixMap(port);
    ASSERT_NE(pm, nullptr);
    EXPECT_EQ(GetPixBaseAddr(pm), reinterpret_cast<Ptr>(pixels.data()));
    EXPECT_EQ(GetPixRowBytes(pm), 32);
    EXPECT_EQ((*pm)->pixelSize, 32);
    EXPECT_TRUE(SameRect((*pm)->bounds, bounds));
    DisposePortOnPixels(port);
    for (UInt32 p : pixels)
        ASSERT_EQ(p, 0xABCDEFu);
}

TEST(PortOnPixels, RefusesArgumentsThatMakeNoPort) {
    std::vector<UInt32> pixels(64);
    Ptr base = reinterpret_cast<Ptr>(pixels.data());
    const Rect good = {0, 0, 4, 4};
    struct Case {
        const char* what;
        Ptr base;
        SInt32 rowBytes;
        Rect bounds;
    };
    const Case cases[] = {
        {"no pixels", nullptr, 16, good},        {"misaligned pixels", base + 1, 16, good},
        {"rows too short", base, 12, good},      {"negative rows", base, -16, good},
        {"rows of part pixels", base, 18, good}, {"empty bounds", base, 16, {0, 0, 4, 0}},
        {"upside down", base, 16, {4, 0, 0, 4}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewPortOnPixels(c.base, c.rowBytes, &c.bounds), nullptr) << c.what;
    EXPECT_EQ(NewPortOnPixels(base, 16, nullptr), nullptr);
}

} // namespace
