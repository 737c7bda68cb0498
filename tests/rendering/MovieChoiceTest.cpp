// The choice of the next movie: positions, the modulo, reseeding, and the
// position that survives a change of play list. Play lists here are plain
// stores of stream records; the choice never touches the movies themselves.
#include "BuildPlayMovieListParam.h"
#include "MoviePlayback.h"
#include "MovieStore.h"
#include "PlayList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

struct FakeList {
    explicit FakeList(int n) : streams(n), entries(n) {
        for (int i = 0; i < n; ++i) entries[i] = &streams[i];
        store.movStreamArray = entries.data();
        store.StoredNumber = UInt32(n);
    }
    int PositionOf(Movie* movie) const {
        for (size_t i = 0; i < streams.size(); ++i)
            if (movie == &streams[i].gMovie) return int(i);
        return -1;
    }
    std::vector<MovieStream> streams;
    std::vector<MovieStream*> entries;
    MovieStore store{};
};

class MovieChoice : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = gCurMovieStore;
        gBuildPlayMovListParamToCntrl.playMode = kPlayModeInOrder;
        // A one-movie list brings the position back to 0, whatever earlier tests left.
        FakeList one(1);
        Choose(one);
    }
    void TearDown() override { gCurMovieStore = saved; }

    int Choose(FakeList& list) {
        gCurMovieStore = &list.store;
        ChangeCurrentMovie();
        return list.PositionOf(gCurMovie);
    }
    MovieStore* saved = nullptr;
};

TEST_F(MovieChoice, InOrderPlaysEachPositionThenWraps) {
    FakeList three(3);
    std::vector<int> positions;
    for (int i = 0; i < 7; ++i) positions.push_back(Choose(three));
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
}

TEST_F(MovieChoice, AnyModeOtherThanOnePlaysInOrder) {
    for (UInt32 mode : {0u, 2u, 3u, 99u}) {
        gBuildPlayMovListParamToCntrl.playMode = mode;
        FakeList four(4);
        std::vector<int> positions;
        for (int i = 0; i < 4; ++i) positions.push_back(Choose(four));
        EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 3})) << "mode " << mode;
    }
}

TEST_F(MovieChoice, ThePositionSurvivesANewList) {
    FakeList eight(8);
    for (int i = 0; i < 5; ++i) Choose(eight); // the next position is 5
    FakeList three(3);
    EXPECT_EQ(Choose(three), 0); // 5 does not exist in three movies: start again
    EXPECT_EQ(Choose(three), 1);

    FakeList four(4);
    EXPECT_EQ(Choose(four), 2); // the order goes on at the same position
}

TEST_F(MovieChoice, RandomDrawsTheRemainderOfRand) {
    gBuildPlayMovListParamToCntrl.playMode = kPlayModeRandom;
    FakeList seven(7);
    std::srand(12345);
    std::vector<int> expected;
    for (int i = 0; i < 6; ++i) expected.push_back(int(unsigned(std::rand()) % 7u));
    std::srand(12345);
    std::vector<int> chosen;
    for (int i = 0; i < 6; ++i) chosen.push_back(Choose(seven));
    EXPECT_EQ(chosen, expected);
}

TEST_F(MovieChoice, TheGeneratorIsReseededWithTheTimeAtEveryWrap) {
    FakeList two(2);
    std::srand(777);
    Choose(two);
    time_t before = std::time(nullptr);
    Choose(two); // the second of two: the generator is reseeded from the clock
    int afterWrap = std::rand();
    time_t after = std::time(nullptr);
    bool matches = false;
    for (time_t t = before; t <= after; ++t) {
        std::srand(unsigned(t));
        matches = matches || std::rand() == afterWrap;
    }
    EXPECT_TRUE(matches);
}

TEST_F(MovieChoice, AnEmptyListChangesNothing) {
    FakeList three(3);
    Choose(three);
    Movie* current = gCurMovie;
    FakeList none(0);
    gCurMovieStore = &none.store;
    ChangeCurrentMovie();
    EXPECT_EQ(gCurMovie, current);
    EXPECT_EQ(Choose(three), 1); // the position did not move either
}

} // namespace
