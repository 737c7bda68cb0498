// The pixel library's hot routines on 1920 x 1080 maps. Each benchmark runs the
// routine and its yardstick alternately on the same pixels and reports
// "x_yardstick", the routine's throughput over the yardstick's (best iteration
// of each, so another process stealing a slice hurts neither), and "goal", the
// ratio it must reach. Line and circle report pixels per second.
//
// The "/generic" variants force the generic row kernels, to show what the
// vector ones buy.
#include "PixMapBuffer.h"
#include "QDMP_Internal.h"
#include "QDMP_RowKernels.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

using zt::PixMapBuffer;
using Clock = std::chrono::steady_clock;

constexpr SInt16 kWidth = 1920, kHeight = 1080;
const Rect kFrame{0, 0, kHeight, kWidth};

PixMapBuffer RandomMap(SInt16 depth, Rect bounds, UInt32 seed) {
    PixMapBuffer map(depth, bounds);
    std::mt19937 random(seed);
    for (int v = bounds.top; v < bounds.bottom; ++v)
        for (int h = bounds.left; h < bounds.right; ++h)
            map.SetPixel(h, v, UInt32(random()));
    return map;
}

double Seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs `routine` and `yardstick` alternately; the routine's time is the
// iteration time. Reports the ratio of the best times as x_yardstick.
void Compare(benchmark::State& state, const std::function<void()>& routine,
             const std::function<void()>& yardstick, double goal, double bytesPerCall) {
    double bestRoutine = 1e9, bestYardstick = 1e9;
    for (auto _ : state) {
        const double seconds = Seconds(routine);
        state.SetIterationTime(seconds);
        bestRoutine = std::min(bestRoutine, seconds);
        state.PauseTiming();
        bestYardstick = std::min(bestYardstick, Seconds(yardstick));
        state.ResumeTiming();
    }
    state.counters["x_yardstick"] = bestYardstick / bestRoutine;
    state.counters["goal"] = goal;
    state.counters["best_ms"] = bestRoutine * 1e3;
    state.SetBytesProcessed(int64_t(state.iterations() * bytesPerCall));
}

// Sets the generic kernels for the length of a benchmark.
struct KernelChoice {
    explicit KernelChoice(bool generic) { qdmp::UseGenericRowKernels(generic); }
    ~KernelChoice() { qdmp::UseGenericRowKernels(false); }
};

void RowMemcpy(const PixMapBuffer& src, PixMapBuffer& dst, std::size_t rowLength) {
    for (int v = 0; v < src.Height(); ++v)
        std::memcpy(dst.BaseAddr() + std::ptrdiff_t(v) * dst.RowBytes(),
                    src.BaseAddr() + std::ptrdiff_t(v) * src.RowBytes(), rowLength);
}

void BM_Copy_Rect(benchmark::State& state, SInt16 depth) {
    PixMapBuffer src = RandomMap(depth, kFrame, 1), dst(depth, kFrame);
    const std::size_t rowLength = std::size_t(kWidth) * src.BytesPerPixel();
    auto routine = [&] {
        if (depth == 8) QDMP_Copy_Rect8(src.Handle(), dst.Handle(), &kFrame, &kFrame);
        if (depth == 16) QDMP_Copy_Rect16(src.Handle(), dst.Handle(), &kFrame, &kFrame);
        if (depth == 32) QDMP_Copy_Rect32(src.Handle(), dst.Handle(), &kFrame, &kFrame);
    };
    Compare(
        state, routine, [&] { RowMemcpy(src, dst, rowLength); }, depth == 32 ? 0.95 : 0.9,
        2.0 * rowLength * kHeight);
}

void BM_Fill_Rect32_vs_memset(benchmark::State& state, bool generic) {
    KernelChoice choice(generic);
    PixMapBuffer dst(32, kFrame);
    const std::size_t rowLength = std::size_t(kWidth) * 4;
    auto memsetRows = [&] {
        for (int v = 0; v < kHeight; ++v)
            std::memset(dst.BaseAddr() + std::ptrdiff_t(v) * dst.RowBytes(), 0x5A, rowLength);
    };
    Compare(
        state, [&] { QDMP_Fill_Rect32(dst.Handle(), kFrame, 0x00123456); }, memsetRows, 0.9,
        double(rowLength) * kHeight);
}

void BM_Fill_Rect32_vs_pixman_fill(benchmark::State& state) {
    PixMapBuffer dst(32, kFrame);
    auto pixmanFill = [&] {
        pixman_fill(reinterpret_cast<uint32_t*>(dst.BaseAddr()), dst.RowBytes() / 4, 32, 0, 0,
                    kWidth, kHeight, 0x00654321);
    };
    Compare(
        state, [&] { QDMP_Fill_Rect32(dst.Handle(), kFrame, 0x00123456); }, pixmanFill, 0.9,
        double(kWidth) * 4 * kHeight);
}

pixman_image_t* Wrap(PixMapBuffer& map, pixman_format_code_t format) {
    return pixman_image_create_bits(format, map.Width(), map.Height(),
                                    reinterpret_cast<uint32_t*>(map.BaseAddr()), map.RowBytes());
}

void BM_Copy_Rect32A(benchmark::State& state, bool generic) {
    KernelChoice choice(generic);
    PixMapBuffer src = RandomMap(32, kFrame, 2), dst = RandomMap(32, kFrame, 3); // random alpha
    pixman_image_t* source = Wrap(src, PIXMAN_a8r8g8b8);
    pixman_image_t* target = Wrap(dst, PIXMAN_x8r8g8b8);
    auto pixmanOver = [&] {
        pixman_image_composite32(PIXMAN_OP_OVER, source, nullptr, target, 0, 0, 0, 0, 0, 0, kWidth,
                                 kHeight);
    };
    Compare(
        state, [&] { QDMP_Copy_Rect32A(src.Handle(), dst.Handle(), &kFrame, &kFrame); }, pixmanOver,
        1.3, 3.0 * kWidth * 4 * kHeight);
    pixman_image_unref(source);
    pixman_image_unref(target);
}

void BM_DownMip32A(benchmark::State& state, bool generic) {
    KernelChoice choice(generic);
    PixMapBuffer src = RandomMap(32, kFrame, 4), dst(32, Rect{0, 0, kHeight / 2, kWidth / 2});
    pixman_image_t* source = Wrap(src, PIXMAN_a8r8g8b8);
    pixman_image_t* target = Wrap(dst, PIXMAN_a8r8g8b8);
    pixman_transform_t halve;
    pixman_transform_init_scale(&halve, pixman_double_to_fixed(2.0), pixman_double_to_fixed(2.0));
    pixman_image_set_transform(source, &halve);
    pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    auto pixmanHalve = [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, 0, 0, 0, 0, 0,
                                 kWidth / 2, kHeight / 2);
    };
    Compare(
        state, [&] { QDMP_DownMip32A(src.Handle(), dst.Handle()); }, pixmanHalve, 1.5,
        1.25 * kWidth * 4 * kHeight);
    pixman_image_unref(source);
    pixman_image_unref(target);
}

// Random lines across the frame; pixels per second of line drawn.
void BM_Draw_Line32(benchmark::State& state) {
    PixMapBuffer dst(32, kFrame);
    std::mt19937 random(5);
    std::vector<std::array<SInt16, 4>> lines(4096);
    double pixels = 0;
    for (auto& l : lines) {
        l = {SInt16(random() % kWidth), SInt16(random() % kHeight), SInt16(random() % kWidth),
             SInt16(random() % kHeight)};
        pixels += std::max(std::abs(l[2] - l[0]), std::abs(l[3] - l[1])) + 1;
    }
    for (auto _ : state)
        for (const auto& l : lines)
            QDMP_Draw_Line32(dst.Handle(), l[0], l[1], l[2], l[3], 0x00FF8000);
    state.counters["Mpixels"] =
        benchmark::Counter(pixels * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// Filled circles of radius 8 to 256 about random centres; pixels of circle area per second.
void BM_Fill_Circle32(benchmark::State& state, bool generic) {
    KernelChoice choice(generic);
    PixMapBuffer dst(32, kFrame);
    std::mt19937 random(6);
    struct Circle {
        SInt16 h, v;
        UInt16 radius;
    };
    std::vector<Circle> circles(256);
    double pixels = 0;
    for (auto& c : circles) {
        c = {SInt16(256 + random() % (kWidth - 512)), SInt16(256 + random() % (kHeight - 512)),
             UInt16(8 + random() % 249)};
        pixels += 3.14159265 * c.radius * c.radius;
    }
    for (auto _ : state)
        for (const Circle& c : circles)
            QDMP_Fill_Circle32(dst.Handle(), c.h, c.v, c.radius, 0x000080FF);
    state.counters["Mpixels"] =
        benchmark::Counter(pixels * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_Copy_Rect, 32, SInt16(32))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Copy_Rect, 16, SInt16(16))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Copy_Rect, 8, SInt16(8))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fill_Rect32_vs_memset, fast, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fill_Rect32_vs_memset, generic, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill_Rect32_vs_pixman_fill)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Copy_Rect32A, fast, false)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Copy_Rect32A, generic, true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DownMip32A, fast, false)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DownMip32A, generic, true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Draw_Line32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fill_Circle32, fast, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fill_Circle32, generic, true)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
