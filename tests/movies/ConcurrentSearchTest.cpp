#include "MovieFixtures.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace zt::test {
namespace {

// The build thread searches movies while the host's thread plays and re-targets
// the same movies; the first search of each movie loads its text meanwhile.
TEST(ConcurrentSearch, SearchingWhilePlayingAndReTargetingTheSameMovies) {
    std::string path = Fixture("busy.mp4", "--pattern --duration 2 --size 64x48 --sample 0:1:Jazz --sample 1:2:Rock");
    std::vector<MoviePtr> movies;
    for (int i = 0; i < 4; ++i) movies.push_back(OpenMovieOrFail(path));

    std::vector<UInt32> pixels(80 * 60);
    Rect bounds{0, 0, 60, 80};
    CGrafPtr port = NewPortOnPixels(reinterpret_cast<Ptr>(pixels.data()), 80 * 4, &bounds);
    for (MoviePtr& m : movies) SetMovieGWorld(m.get(), port, nullptr);

    std::atomic<int> found{0};
    std::thread build([&] {
        for (int round = 0; round < 20; ++round)
            for (MoviePtr& m : movies) {
                if (Search(m.get(), 2, "rock").time == 1000) ++found;
                if (Search(m.get(), 2, "JAZZ").time == 0) ++found;
            }
    });
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    int frame = 0;
    StartMovie(movies[0].get());
    while (std::chrono::steady_clock::now() < end) {
        Rect box{0, 0, SInt16(30 + frame % 30), SInt16(40 + frame % 40)};
        for (MoviePtr& m : movies) SetMovieBox(m.get(), &box);
        MoviesTask(movies[0].get(), 0);
        if (frame % 10 == 0) {
            StopMovie(movies[0].get());
            GoToBeginningOfMovie(movies[0].get());
            StartMovie(movies[0].get());
        }
        ++frame;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    build.join();
    EXPECT_EQ(found, 20 * 4 * 2);
    movies.clear();
    DisposePortOnPixels(port);
}

} // namespace
} // namespace zt::test
