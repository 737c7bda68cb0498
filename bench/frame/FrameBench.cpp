// Frames as the host sees them, through the plug-in's handler:
//   PlayingFrames: a 1920x1080 H.264 movie (30 fps) played into a 1280x720
//     port for 10 s, 'vrnd' sent at 30 frames per second on a monotonic
//     deadline. Reports the time the host's thread spends per call (median,
//     p90, max; goal: median at most 1 ms) against a memcpy of one 1280x720
//     frame ("x_memcpy"); how late each shown frame is, the clock's movie time
//     after the call against the time the frame was due (goal: never more than
//     one frame, 33 ms); frames shown and skipped; and the process CPU time of
//     the whole playback (all threads) against FFmpeg alone decoding and
//     scaling the same frames to 1280x720 ("x_ffmpeg_cpu", goal at most 1.3).
//   ShowingAThousandMovies: 'show' with a stored folder of 1000 small movies
//     until the first 'vrnd' that puts movie pixels on screen (goal under
//     0.5 s), against FFmpeg's own open and close of the same 1000 files
//     ("x_ffmpeg_open").
#include "BenchMovies.h"
#include "FFmpegYardstick.h"
#include "MoviePlayback.h"
#include "PlugInHost.h"

#include "Movies.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using zt::bench::PlugInHost;
using zt::bench::Screen;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1280, kHeight = 720;
constexpr int kFramesPerSecond = 30;
constexpr int kPlaySeconds = 10;
// Movie pixels have a zero pad byte; this background does not.
constexpr UInt32 kBackground = 0xFF123456;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The value below which the given share of the samples lie.
double Quantile(std::vector<double> samples, double share) {
    if (samples.empty()) return 0;
    size_t at = std::min(samples.size() - 1, size_t(share * double(samples.size())));
    std::nth_element(samples.begin(), samples.begin() + ptrdiff_t(at), samples.end());
    return samples[at];
}

double Max(const std::vector<double>& samples) {
    return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

// CPU time of the calling thread, in milliseconds.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Median time of copying one frame of the port's size with memcpy.
double MemcpyFrameMs() {
    std::vector<UInt32> from(size_t(kWidth) * kHeight, 0x00404040), to(from.size());
    std::vector<double> samples;
    for (int i = 0; i < 60; ++i) {
        auto start = Clock::now();
        std::memcpy(to.data(), from.data(), from.size() * sizeof(UInt32));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        samples.push_back(Ms(Clock::now() - start));
    }
    return Quantile(samples, 0.5);
}

void PlayingFrames(benchmark::State& state) {
    zt::bench::UseBenchFolders();
    const std::string folder = zt::bench::FullHdMovieFolder();
    PlugInHost host;
    host.StoreMoviesFolder(folder);
    Screen screen(kWidth, kHeight);
    const auto period = std::chrono::nanoseconds(1'000'000'000 / kFramesPerSecond);
    const int frames = kFramesPerSecond * kPlaySeconds;

    std::vector<double> callMs, callCpuMs, lateMs;
    double playCpu = 0, ffmpegCpu = 0, memcpyMs = 0;
    int shown = 0, due = 0;
    for (auto _ : state) {
        // Yardsticks first, while no movie plays.
        memcpyMs = MemcpyFrameMs();
        zt::bench::DecodeFigures alone =
            zt::bench::DecodeAndScale(zt::bench::FullHdMoviePath(), kPlaySeconds, kWidth, kHeight);
        ffmpegCpu += alone.cpuSeconds;

        double cpuStart = zt::bench::ProcessCpuSeconds();
        if (host.Show(screen.port(), screen.bounds()) != noErr || gCurMovie == nullptr) {
            state.SkipWithError("the movie did not start");
            return;
        }
        Movie movie = *gCurMovie;
        TimeValue lastShown = -1;
        auto start = Clock::now();
        for (int i = 0; i < frames; ++i) {
            std::this_thread::sleep_until(start + i * period);
            auto before = Clock::now();
            double cpuBefore = ThreadCpuMs();
            host.Send(FourCC("vrnd"));
            callCpuMs.push_back(ThreadCpuMs() - cpuBefore);
            callMs.push_back(Ms(Clock::now() - before));
            TimeValue frameTime = GetMovieShownFrameTime(movie);
            if (frameTime >= 0 && frameTime != lastShown) {
                lateMs.push_back(double(GetMovieTime(movie, nullptr) - frameTime));
                lastShown = frameTime;
                ++shown;
            }
        }
        due += std::min(alone.frames, int(GetMovieTime(movie, nullptr)) * kFramesPerSecond / 1000 + 1);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        host.Hide();
        playCpu += zt::bench::ProcessCpuSeconds() - cpuStart;
    }
    double iterations = double(state.iterations());
    state.counters["call_ms_median"] = Quantile(callMs, 0.5);
    state.counters["call_ms_p90"] = Quantile(callMs, 0.9);
    state.counters["call_ms_max"] = Max(callMs);
    // CPU time of the slowest call: far below its wall time, the thread was off the CPU.
    state.counters["call_cpu_ms_max"] = Max(callCpuMs);
    state.counters["x_memcpy"] = Quantile(callMs, 0.5) / memcpyMs;
    state.counters["late_ms_median"] = Quantile(lateMs, 0.5);
    state.counters["late_ms_p90"] = Quantile(lateMs, 0.9);
    state.counters["late_ms_max"] = Max(lateMs);
    // Both times are whole milliseconds: a frame one period late may read 34.
    state.counters["late_over_1_frame"] =
        double(std::count_if(lateMs.begin(), lateMs.end(), [](double l) { return l > 1000.0 / kFramesPerSecond + 1; }));
    state.counters["frames_shown"] = shown / iterations;
    state.counters["frames_skipped"] = (due - shown) / iterations;
    state.counters["cpu_s"] = playCpu / iterations;
    state.counters["ffmpeg_cpu_s"] = ffmpegCpu / iterations;
    state.counters["x_ffmpeg_cpu"] = playCpu / ffmpegCpu;
}
BENCHMARK(PlayingFrames)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void ShowingAThousandMovies(benchmark::State& state) {
    zt::bench::UseBenchFolders();
    const std::string folder = zt::bench::ThousandMoviesFolder();
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) paths.push_back(entry.path().string());
    PlugInHost host;
    host.StoreMoviesFolder(folder);
    Screen screen(kWidth, kHeight);
    // Warm up: the page cache, the catalog, FFmpeg's one-time set-up.
    host.Show(screen.port(), screen.bounds());
    host.Hide();

    double shows = 0, opens = 0;
    for (auto _ : state) {
        screen.Fill(kBackground);
        auto start = Clock::now();
        host.Show(screen.port(), screen.bounds());
        // Frames as soon as one can be drawn, to see the first the moment it is there.
        while ((screen.Centre() >> 24) != 0 && Clock::now() - start < std::chrono::seconds(20)) {
            host.Send(FourCC("vrnd"));
            if ((screen.Centre() >> 24) != 0) std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if ((screen.Centre() >> 24) != 0) state.SkipWithError("no movie reached the screen");
        state.SetIterationTime(seconds);
        shows += seconds;
        host.Hide();
        opens += zt::bench::OpenAndClose(paths);
    }
    state.counters["movies"] = double(paths.size());
    state.counters["s_to_first_frame"] = shows / double(state.iterations());
    state.counters["x_ffmpeg_open"] = shows / opens;
}
BENCHMARK(ShowingAThousandMovies)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
