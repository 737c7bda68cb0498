// When frames reach the port: the time of the frame last copied, and a clock
// that waits for the first picture, so a movie starts with its first frame
// however long the decoder or the host takes to get there.
#include "Files.h"
#include "Movies.h"
#include "QuickDraw.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct MovieCloser {
    void operator()(MovieRecord* movie) const { DisposeMovie(movie); }
};
using MoviePtr = std::unique_ptr<MovieRecord, MovieCloser>;

// A 3 s, 30 fps moving pattern, made once per test run.
MoviePtr OpenPattern() {
    static const std::string path = [] {
        char pattern[] = "/tmp/zt-shown-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        static const std::string folder = pattern;
        setenv("XDG_STATE_HOME", (folder + "/state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (folder + "/cache").c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        });
        std::string movie = folder + "/pattern.mp4";
        std::string command = std::string("'") + ZT_MOVIEMAKER +
                              "' --pattern --size 64x48 --rate 30 --duration 3 '" + movie + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("the movie maker failed");
        return movie;
    }();
    FSRef ref{};
    FSSpec spec{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr) != noErr)
        return nullptr;
    SInt16 refNum = 0;
    if (OpenMovieFile(&spec, &refNum, fsRdPerm) != noErr) return nullptr;
    Movie movie = nullptr;
    NewMovieFromFile(&movie, refNum, nullptr, nullptr, newMovieActive, nullptr);
    CloseMovieFile(refNum);
    return MoviePtr(movie);
}

struct Screen {
    Screen() : pixels(64 * 48) {
        Rect bounds{0, 0, 48, 64};
        port = NewPortOnPixels(reinterpret_cast<Ptr>(pixels.data()), 64 * 4, &bounds);
    }
    ~Screen() { DisposePortOnPixels(port); }
    std::vector<UInt32> pixels;
    CGrafPtr port = nullptr;
};

class ShownFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        movie = OpenPattern();
        ASSERT_NE(movie, nullptr);
        Rect box{0, 0, 48, 64};
        SetMovieGWorld(movie.get(), screen.port, nullptr);
        SetMovieBox(movie.get(), &box);
    }
    // Services the movie every few milliseconds until a frame was copied.
    TimeValue ServiceUntilShown() {
        auto end = Clock::now() + std::chrono::seconds(5);
        while (Clock::now() < end) {
            MoviesTask(movie.get(), 0);
            if (GetMovieShownFrameTime(movie.get()) >= 0) return GetMovieShownFrameTime(movie.get());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return -1;
    }
    Screen screen;
    MoviePtr movie;
};

TEST_F(ShownFrame, NoneBeforeTheFirstCopyNorAfterARewindNorForNoMovie) {
    EXPECT_EQ(GetMovieShownFrameTime(nullptr), -1);
    EXPECT_EQ(GetMovieShownFrameTime(movie.get()), -1);
    StartMovie(movie.get());
    EXPECT_EQ(GetMovieShownFrameTime(movie.get()), -1); // started, nothing copied yet
    ASSERT_EQ(ServiceUntilShown(), 0);
    GoToBeginningOfMovie(movie.get());
    EXPECT_EQ(GetMovieShownFrameTime(movie.get()), -1);
    ASSERT_EQ(ServiceUntilShown(), 0);
    StopMovie(movie.get());
    GoToBeginningOfMovie(movie.get());
    EXPECT_EQ(GetMovieShownFrameTime(movie.get()), -1);
}

TEST_F(ShownFrame, AMovieStartsWithItsFirstFrameEvenWhenTheHostComesLate) {
    // The host's first frame comes long after the start: the clock has waited
    // for the first picture, so that picture is shown, on time, not skipped.
    for (auto delay : {std::chrono::milliseconds(0), std::chrono::milliseconds(150)}) {
        StartMovie(movie.get());
        std::this_thread::sleep_for(delay);
        ASSERT_EQ(ServiceUntilShown(), 0) << delay.count() << " ms";
        EXPECT_LT(GetMovieTime(movie.get(), nullptr), 33) << delay.count() << " ms";
        StopMovie(movie.get());
        GoToBeginningOfMovie(movie.get());
    }
}

TEST_F(ShownFrame, FramesAreNeverShownBeforeTheyAreDueAndGoForward) {
    StartMovie(movie.get());
    TimeValue last = -1;
    int shown = 0;
    auto end = Clock::now() + std::chrono::milliseconds(800);
    while (Clock::now() < end) {
        MoviesTask(movie.get(), 0);
        TimeValue frame = GetMovieShownFrameTime(movie.get());
        if (frame != last) {
            EXPECT_GT(frame, last);
            EXPECT_GE(GetMovieTime(movie.get(), nullptr), frame);
            last = frame;
            ++shown;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(shown, 5);
}

} // namespace
