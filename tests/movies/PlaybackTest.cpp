#include "MovieFixtures.h"

#include <chrono>
#include <thread>
#include <vector>

namespace zt::test {
namespace {

using Clock = std::chrono::steady_clock;

// A 32-bit port over the test's own pixels with a guard ring around them.
class PixelPort {
  public:
    static constexpr UInt32 kGuard = 0xA5C3E1F0;
    static constexpr UInt32 kBackground = 0x00123456;
    static constexpr int kMargin = 4;

    PixelPort(int width, int height)
        : width_(width), height_(height), stride_(width + 2 * kMargin),
          pixels_(size_t(stride_) * size_t(height + 2 * kMargin), kGuard) {
        for (int v = 0; v < height; ++v)
            for (int h = 0; h < width; ++h) pixels_[Index(h, v)] = kBackground;
        Rect bounds{0, 0, SInt16(height), SInt16(width)};
        port_ = NewPortOnPixels(reinterpret_cast<Ptr>(&pixels_[Index(0, 0)]), stride_ * 4, &bounds);
    }
    ~PixelPort() { DisposePortOnPixels(port_); }
    PixelPort(const PixelPort&) = delete;
    PixelPort& operator=(const PixelPort&) = delete;

    CGrafPtr port() const { return port_; }
    UInt32 At(int h, int v) const { return pixels_[Index(h, v)]; }
    bool GuardIntact() const {
        for (int v = -kMargin; v < height_ + kMargin; ++v)
            for (int h = -kMargin; h < width_ + kMargin; ++h)
                if ((h < 0 || v < 0 || h >= width_ || v >= height_) && At(h, v) != kGuard) return false;
        return true;
    }

  private:
    size_t Index(int h, int v) const { return size_t(v + kMargin) * size_t(stride_) + size_t(h + kMargin); }
    int width_, height_, stride_;
    std::vector<UInt32> pixels_;
    CGrafPtr port_ = nullptr;
};

bool IsReddish(UInt32 p) { return (p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) < 60 && (p & 0xFF) < 60 && (p >> 24) == 0; }
bool IsBluish(UInt32 p) { return (p & 0xFF) > 200 && (p >> 16 & 0xFF) < 60 && (p >> 8 & 0xFF) < 60; }

// Services the movie as frames do (every 10 ms) until the condition holds or the time is up.
template <typename Condition> bool PlayUntil(Movie movie, Condition done, std::chrono::milliseconds limit) {
    auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        MoviesTask(movie, 0);
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(MoviePlayback, FramesAppearInTheBoxAndNowhereElseThenTheMovieEnds) {
    MoviePtr movie = OpenMovieOrFail(Fixture("red-half.mp4", "--color red --duration 0.5 --size 32x24"));
    ASSERT_NE(movie, nullptr);
    PixelPort port(40, 30);
    Rect box{5, 10, 20, 30}; // top, left, bottom, right: 20 x 15, scaled up from 32 x 24? no: down
    SetMovieGWorld(movie.get(), port.port(), nullptr);
    SetMovieBox(movie.get(), &box);
    EXPECT_FALSE(IsMovieDone(movie.get()));

    auto start = Clock::now();
    StartMovie(movie.get());
    ASSERT_TRUE(PlayUntil(movie.get(), [&] { return IsReddish(port.At(10, 5)); }, std::chrono::seconds(5)));
    for (int v = 0; v < 30; ++v)
        for (int h = 0; h < 40; ++h) {
            bool inBox = v >= 5 && v < 20 && h >= 10 && h < 30;
            if (inBox) EXPECT_TRUE(IsReddish(port.At(h, v))) << h << "," << v << " " << std::hex << port.At(h, v);
            else EXPECT_EQ(port.At(h, v), PixelPort::kBackground) << h << "," << v;
        }
    EXPECT_TRUE(port.GuardIntact());

    ASSERT_TRUE(PlayUntil(movie.get(), [&] { return IsMovieDone(movie.get()); }, std::chrono::seconds(5)));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(450));
    EXPECT_GE(GetMovieTime(movie.get(), nullptr), 450);
}

TEST(MoviePlayback, ABoxPartlyOutsideThePortIsClippedToIt) {
    MoviePtr movie = OpenMovieOrFail(Fixture("red-half.mp4", "--color red --duration 0.5 --size 32x24"));
    ASSERT_NE(movie, nullptr);
    PixelPort port(20, 20);
    Rect box{-10, 10, 30, 50}; // sticks out above, right and below
    SetMovieGWorld(movie.get(), port.port(), nullptr);
    SetMovieBox(movie.get(), &box);
    StartMovie(movie.get());
    ASSERT_TRUE(PlayUntil(movie.get(), [&] { return IsReddish(port.At(19, 19)); }, std::chrono::seconds(5)));
    EXPECT_TRUE(IsReddish(port.At(10, 0)));
    EXPECT_EQ(port.At(9, 10), PixelPort::kBackground);
    EXPECT_TRUE(port.GuardIntact());
}

TEST(MoviePlayback, RewindRestartsFromTheFirstFrame) {
    MoviePtr movie = OpenMovieOrFail(Fixture("red-blue.mp4", "--color red,blue --duration 0.6 --size 32x24"));
    ASSERT_NE(movie, nullptr);
    PixelPort port(32, 24);
    Rect box{0, 0, 24, 32};
    SetMovieGWorld(movie.get(), port.port(), nullptr);
    SetMovieBox(movie.get(), &box);
    for (int round = 0; round < 2; ++round) {
        StartMovie(movie.get());
        EXPECT_TRUE(PlayUntil(movie.get(), [&] { return IsReddish(port.At(16, 12)); }, std::chrono::seconds(5)))
            << "round " << round;
        EXPECT_TRUE(PlayUntil(movie.get(), [&] { return IsBluish(port.At(16, 12)); }, std::chrono::seconds(5)))
            << "round " << round;
        EXPECT_TRUE(PlayUntil(movie.get(), [&] { return IsMovieDone(movie.get()); }, std::chrono::seconds(5)));
        // What a frame does when the movie has ended: stop, rewind, start again.
        StopMovie(movie.get());
        GoToBeginningOfMovie(movie.get());
        EXPECT_EQ(GetMovieTime(movie.get(), nullptr), 0);
        EXPECT_FALSE(IsMovieDone(movie.get()));
    }
    // Rewinding while playing goes on playing from the start.
    StartMovie(movie.get());
    EXPECT_TRUE(PlayUntil(movie.get(), [&] { return IsBluish(port.At(16, 12)); }, std::chrono::seconds(5)));
    GoToBeginningOfMovie(movie.get());
    EXPECT_TRUE(IsMoviePlaying(movie.get()));
    EXPECT_TRUE(PlayUntil(movie.get(), [&] { return IsReddish(port.At(16, 12)); }, std::chrono::seconds(5)));
}

TEST(MoviePlayback, StopReleasesTheDecoderThread) {
    MoviePtr movie = OpenMovieOrFail(Fixture("pattern-long.mp4", "--pattern --duration 10 --size 64x48"));
    ASSERT_NE(movie, nullptr);
    std::thread([] {}).join(); // a sanitizer's helper thread starts with the first thread
    int threads = ThreadCount();
    int fds = OpenDescriptorCount();
    StartMovie(movie.get());
    EXPECT_TRUE(IsMovieDecoding(movie.get()));
    EXPECT_EQ(ThreadCount(), threads + 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    StopMovie(movie.get());
    EXPECT_FALSE(IsMovieDecoding(movie.get()));
    EXPECT_FALSE(IsMoviePlaying(movie.get()));
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_EQ(OpenDescriptorCount(), fds);
    TimeValue stoppedAt = GetMovieTime(movie.get(), nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(GetMovieTime(movie.get(), nullptr), stoppedAt); // the clock stopped too
    EXPECT_FALSE(IsMovieDone(movie.get()));

    // Disposing a playing movie joins its thread as well.
    StartMovie(movie.get());
    movie.reset();
    EXPECT_EQ(ThreadCount(), threads);
}

TEST(MoviePlayback, ATruncatedFileEndsWhereItsDataEnds) {
    MoviePtr movie = OpenMovieOrFail(Fixture("truncated.mp4", "--kind truncated --duration 2 --keep 40 --pattern"));
    ASSERT_NE(movie, nullptr);
    PixelPort port(32, 24);
    Rect box{0, 0, 24, 32};
    SetMovieGWorld(movie.get(), port.port(), nullptr);
    SetMovieBox(movie.get(), &box);
    EXPECT_EQ(GetMovieDuration(movie.get()), 2000); // the header still says two seconds
    StartMovie(movie.get());
    ASSERT_TRUE(PlayUntil(movie.get(), [&] { return IsMovieDone(movie.get()); }, std::chrono::seconds(5)));
    EXPECT_LT(GetMovieTime(movie.get(), nullptr), 1900);
}

TEST(MoviePlayback, MoviesWithoutAPortOrPicturesRunTheirClockToTheEnd) {
    struct Case {
        std::string path;
        bool decodes;
    };
    const Case cases[] = {
        {Fixture("red-half.mp4", "--color red --duration 0.5 --size 32x24"), true}, // no port: draws nowhere
        {Fixture("sound-half.m4a", "--kind sound --duration 0.5"), false},
        {Fixture("program-half.mpg", "--kind mpeg-ps --duration 0.5"), true},
    };
    for (const Case& c : cases) {
        MoviePtr movie = OpenMovieOrFail(c.path);
        ASSERT_NE(movie, nullptr);
        SetMovieGWorld(movie.get(), nullptr, nullptr);
        Rect box{0, 0, 24, 32};
        SetMovieBox(movie.get(), &box);
        StartMovie(movie.get());
        EXPECT_EQ(IsMovieDecoding(movie.get()), c.decodes) << c.path;
        EXPECT_TRUE(PlayUntil(movie.get(), [&] { return IsMovieDone(movie.get()); }, std::chrono::seconds(5)))
            << c.path;
    }
}

TEST(MoviePlayback, ReTargetingWhilePlayingDrawsIntoTheNewPortAtTheNewBox) {
    MoviePtr movie = OpenMovieOrFail(Fixture("red-long.mp4", "--color red --duration 5 --size 32x24"));
    ASSERT_NE(movie, nullptr);
    PixelPort first(32, 24), second(50, 40);
    Rect box{0, 0, 24, 32};
    SetMovieGWorld(movie.get(), first.port(), nullptr);
    SetMovieBox(movie.get(), &box);
    StartMovie(movie.get());
    ASSERT_TRUE(PlayUntil(movie.get(), [&] { return IsReddish(first.At(0, 0)); }, std::chrono::seconds(5)));
    Rect bigger{10, 10, 40, 50};
    SetMovieGWorld(movie.get(), second.port(), nullptr);
    SetMovieBox(movie.get(), &bigger);
    ASSERT_TRUE(PlayUntil(movie.get(), [&] { return IsReddish(second.At(49, 39)); }, std::chrono::seconds(5)));
    EXPECT_EQ(second.At(9, 9), PixelPort::kBackground);
    EXPECT_TRUE(first.GuardIntact());
    EXPECT_TRUE(second.GuardIntact());
}

} // namespace
} // namespace zt::test
