// Frames allocate nothing on the host's thread, whether a movie plays or the
// notice is drawn: the real bundle is driven by the test host as a host would
// (show, then a frame every 33 ms), and every heap allocation made on this
// thread during the frames is counted. The movie's decoder thread and the
// play-list builder allocate as they like; they are other threads.
#include "AllocationCounter.h"
#include "TestHost.h"

#include "Files.h"
#include "QuickDraw.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using zt::test::TestHost;

constexpr UInt32 kBackground = 0x00123456;

// The test's private folder: catalog, text cache, console log and the movie.
const fs::path& WorkFolder() {
    static const fs::path folder = [] {
        char pattern[] = "/tmp/zt-frame-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        fs::path base = pattern;
        setenv("XDG_STATE_HOME", (base / "state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (base / "cache").c_str(), 1);
        setenv("ZOETROPICA_CONSOLE", (base / "console.log").c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(WorkFolder(), ignored);
        });
        return base;
    }();
    return folder;
}

// A folder holding one movie of a moving H.264 pattern, long enough that it
// never ends during a test.
std::string MovieFolder() {
    static const std::string folder = [] {
        fs::path movies = WorkFolder() / "movies";
        fs::create_directories(movies);
        std::string command = std::string("'") + ZT_MOVIEMAKER +
                              "' --pattern --codec h264 --size 320x240 --rate 30 --duration 12 '" +
                              (movies / "pattern.mp4").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("the movie maker failed");
        return movies.string();
    }();
    return folder;
}

// The visualizer's frame buffer: a 32-bit port over the test's own pixels.
struct Screen {
    Screen(int width, int height) : width(width), height(height), pixels(size_t(width) * height, kBackground) {
        Rect bounds{0, 0, SInt16(height), SInt16(width)};
        port = NewPortOnPixels(reinterpret_cast<Ptr>(pixels.data()), width * 4, &bounds);
    }
    ~Screen() { DisposePortOnPixels(port); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // A cheap fingerprint of the whole picture, to see that a frame was drawn.
    uint64_t Fingerprint() const {
        uint64_t hash = 1469598103934665603ull;
        for (size_t i = 0; i < pixels.size(); i += 97) hash = (hash ^ pixels[i]) * 1099511628211ull;
        return hash;
    }
    bool ShowsMovie() const { return pixels[pixels.size() / 2 + width / 2] != kBackground; }

    int width, height;
    std::vector<UInt32> pixels;
    CGrafPtr port = nullptr;
};

struct FrameCase {
    const char* name;
    OSType message;
    bool movies; // false: an empty folder, so every frame paints and copies the notice
};

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

std::string EmptyFolder() {
    fs::path folder = WorkFolder() / "empty";
    fs::create_directories(folder);
    return folder.string();
}

// Initialises the plug-in with the folder stored as its movie folder; the
// message that shows it on the screen.
VisualPluginMessageInfo PrepareShow(TestHost& host, const std::string& folder, const Screen& screen) {
    EXPECT_EQ(host.CallEntry(FourCC("init")), noErr);
    EXPECT_EQ(host.InitVisual(), noErr);
    FSRef ref{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, nullptr), noErr);
    host.namedData["Movies Folder"] = std::vector<uint8_t>(ref.hidden, ref.hidden + sizeof ref.hidden);
    VisualPluginMessageInfo show{};
    show.showWindowMessage.port = screen.port;
    show.showWindowMessage.drawRect = Rect{0, 0, SInt16(screen.height), SInt16(screen.width)};
    return show;
}

class FrameAllocations : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameAllocations, FramesAllocateNothingOnTheHostsThread) {
    const bool movies = GetParam().movies;
    const std::string folder = movies ? MovieFolder() : EmptyFolder();
    TestHost host;
    Screen screen(320, 240);
    VisualPluginMessageInfo show = PrepareShow(host, folder, screen);
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(host.Send(FourCC("show"), &show), noErr);

    const OSType message = GetParam().message;
    VisualPluginMessageInfo frame{};
    auto next = std::chrono::steady_clock::now();
    auto tick = [&] {
        next += std::chrono::milliseconds(33);
        std::this_thread::sleep_until(next);
    };

    // Warm up: the decoder runs and the first frames are on screen.
    int warm = 0;
    for (int i = 0; i < 150 && warm < 10; ++i, tick()) {
        ASSERT_EQ(host.Send(message, &frame), noErr);
        if (screen.ShowsMovie()) ++warm;
    }
    ASSERT_EQ(warm, 10) << "nothing reached the screen";

    long allocations = 0;
    std::string sizes;
    int drawn = 0;
    uint64_t before = screen.Fingerprint();
    for (int i = 0; i < 60; ++i, tick()) {
        frame.renderMessage.timeStampID = UInt32(i);
        zt::test::StartCountingAllocations();
        OSStatus status = host.Send(message, &frame);
        long counted = zt::test::StopCountingAllocations();
        ASSERT_EQ(status, noErr);
        if (counted > 0 && sizes.empty()) sizes = zt::test::CountedAllocationSizes();
        allocations += counted;
        uint64_t after = screen.Fingerprint();
        drawn += after != before;
        before = after;
    }
    EXPECT_EQ(allocations, 0) << "first sizes: " << sizes
                              << (zt::test::CountsEveryMalloc() ? "" : " (operator new only)");
    // The frames did draw: the counted calls were the real work, not no-ops.
    if (movies) EXPECT_GE(drawn, 20);
    else EXPECT_EQ(screen.pixels[0] & 0xFFFFFF, 0xFFFFFFu) << "no notice on screen";
    host.Send(FourCC("hide"));
}

// The counter reaches into the bundle and the platform library (so a zero above
// means something), and counts this thread alone.
TEST(AllocationCounter, SeesTheBundlesAllocationsOnThisThreadOnly) {
    const std::string folder = MovieFolder();
    TestHost host;
    Screen screen(64, 64);
    VisualPluginMessageInfo show = PrepareShow(host, folder, screen);
    ASSERT_FALSE(HasFailure());

    zt::test::StartCountingAllocations();
    host.Send(FourCC("show"), &show); // opens the folder and its movie, starts a decoder
    EXPECT_GT(zt::test::StopCountingAllocations(), 0);

    // Another thread allocates while this one counts (made before counting:
    // starting a thread allocates on the starting one).
    std::atomic<int> step{0};
    std::thread other([&] {
        while (step.load() == 0) std::this_thread::yield();
        void* volatile block = std::malloc(64);
        std::free(block);
        delete new std::string(100, 'x');
        step = 2;
    });
    zt::test::StartCountingAllocations();
    step = 1;
    while (step.load() != 2) std::this_thread::yield();
    EXPECT_EQ(zt::test::StopCountingAllocations(), 0);
    other.join();
    host.Send(FourCC("hide"));
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameAllocations,
                         ::testing::Values(FrameCase{"render", FourCC("vrnd"), true},
                                           FrameCase{"idle", FourCC("null"), true},
                                           FrameCase{"notice", FourCC("vrnd"), false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
