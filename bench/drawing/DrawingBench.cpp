// What one notice frame costs on a 1280 x 720 canvas: paint it white, draw five
// lines of text, copy it onto the visualizer port. Each benchmark also reports
// "x_yardstick", its time over the yardstick measured in the same run: a memset
// of the frame plus a memcpy of it, the least memory traffic such a frame needs.
#include "QuickDraw.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr SInt16 kWidth = 1280, kHeight = 720;
constexpr size_t kFrameBytes = size_t(kWidth) * kHeight * 4;
const char* const kLines[] = {
    "Zoetropica. iTunes visual plug-in for play QT movie.",
    "Plays the movies of a folder while the music plays.",
    " ",
    "There is not a movie in selected folder.",
    "Press the option button, select a folder that has movies.",
};

using Clock = std::chrono::steady_clock;

// The yardstick: seconds for one memset and one memcpy of a frame, best of many.
double YardstickSeconds() {
    static const double seconds = [] {
        std::vector<UInt32> a(kFrameBytes / 4), b(kFrameBytes / 4);
        double best = 1e9;
        for (int i = 0; i < 60; ++i) {
            const auto start = Clock::now();
            std::memset(a.data(), 0xFF, kFrameBytes);
            benchmark::ClobberMemory();
            std::memcpy(b.data(), a.data(), kFrameBytes);
            benchmark::DoNotOptimize(b.data());
            benchmark::ClobberMemory();
            best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
        }
        return best;
    }();
    return seconds;
}

// A canvas world and a window-sized port over the bench's own pixels.
struct Frame {
    Frame() : screen(size_t(kWidth) * kHeight) {
        NewGWorld(&canvas, 32, &bounds, nullptr, nullptr, useTempMem);
        port = NewPortOnPixels(reinterpret_cast<Ptr>(screen.data()), kWidth * 4, &bounds);
        for (int i = 0; i < 5; ++i)
            CopyCStringToPascal(kLines[i], lines[i]);
    }
    ~Frame() {
        DisposePortOnPixels(port);
        DisposeGWorld(canvas);
    }
    void PaintAndDraw(SInt16 textSize) {
        SetGWorld(canvas, nullptr);
        ForeColor(whiteColor);
        PaintRect(&bounds);
        ForeColor(blackColor);
        BackColor(whiteColor);
        for (int i = 0; i < 5; ++i) {
            TextSize(textSize);
            TextMode(srcCopy);
            MoveTo(5, SInt16(kHeight - 75 + 15 * i));
            DrawString(lines[i]);
        }
    }
    void CopyToPort() {
        SetGWorld(port, nullptr);
        CopyBits(GetPortBitMapForCopyBits(canvas), GetPortBitMapForCopyBits(port), &bounds, &bounds,
                 srcCopy, nullptr);
    }
    const Rect bounds = {0, 0, kHeight, kWidth};
    GWorldPtr canvas = nullptr;
    CGrafPtr port = nullptr;
    std::vector<UInt32> screen;
    Str255 lines[5];
};

// Runs `body` per iteration and reports its time against the yardstick.
template <typename Body> void Measure(benchmark::State& state, Body body) {
    const double yardstick = YardstickSeconds();
    body(); // the first call loads the font and its glyphs
    const auto start = Clock::now();
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    const double perIteration = std::chrono::duration<double>(Clock::now() - start).count() /
                                double(std::max<int64_t>(1, state.iterations()));
    state.counters["x_yardstick"] = perIteration / yardstick;
    state.counters["yardstick_us"] = yardstick * 1e6;
}

void BM_NoticeFrame(benchmark::State& state) {
    Frame frame;
    Measure(state, [&] {
        frame.PaintAndDraw(SInt16(state.range(0)));
        frame.CopyToPort();
    });
}
BENCHMARK(BM_NoticeFrame)->Arg(12)->Arg(48)->Unit(benchmark::kMicrosecond);

void BM_FiveLinesOfText(benchmark::State& state) {
    Frame frame;
    SetGWorld(frame.canvas, nullptr);
    Measure(state, [&] {
        for (int i = 0; i < 5; ++i) {
            TextSize(SInt16(state.range(0)));
            TextMode(srcCopy);
            MoveTo(5, SInt16(kHeight - 75 + 15 * i));
            DrawString(frame.lines[i]);
        }
    });
}
BENCHMARK(BM_FiveLinesOfText)->Arg(12)->Arg(48)->Unit(benchmark::kMicrosecond);

void BM_PaintRectFrame(benchmark::State& state) {
    Frame frame;
    SetGWorld(frame.canvas, nullptr);
    Measure(state, [&] { PaintRect(&frame.bounds); });
}
BENCHMARK(BM_PaintRectFrame)->Unit(benchmark::kMicrosecond);

void BM_CopyBitsFrame(benchmark::State& state) {
    Frame frame;
    Measure(state, [&] { frame.CopyToPort(); });
}
BENCHMARK(BM_CopyBitsFrame)->Unit(benchmark::kMicrosecond);

// A half-size canvas doubled onto the port: nearest-neighbour scaling.
void BM_CopyBitsScaledFrame(benchmark::State& state) {
    Frame frame;
    const Rect half = {0, 0, kHeight / 2, kWidth / 2};
    Measure(state, [&] {
        CopyBits(GetPortBitMapForCopyBits(frame.canvas), GetPortBitMapForCopyBits(frame.port),
                 &half, &frame.bounds, srcCopy, nullptr);
    });
}
BENCHMARK(BM_CopyBitsScaledFrame)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
