// The play-list control thread: the ring of two slots turned step by step with
// builds held at a gate, rapid song changes, stops and clean-ups at awkward
// moments. Every wait is bounded, so a hang fails the test instead of the run.
#include "Fixtures.h"
#include "GatedTextSearch.h"
#include "InProcessHost.h"
#include "MovieLibrary.h"
#include "PlayList.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace zt::test;
using namespace std::chrono_literals;

// Reads the control thread's state as it publishes it: under its locks.
SInt16 RingCount() {
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    SInt16 count = gRingBuffCount;
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    return count;
}

int SlotInUse() {
    pthread_mutex_lock(&gCurMovieStoreLock);
    int slot = int(gCurMovieStore - gRingBufMovieStore);
    pthread_mutex_unlock(&gCurMovieStoreLock);
    return slot;
}

// Waits until a build is held at the gate.
bool WaitForBuildAtGate() {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (SearchesWaitingAtGate() == 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The stop line is written before the build is joined (with the control lock
// released meanwhile): wait, bounded, for the ring to step back.
bool RingCountBecomes(SInt16 expected) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (RingCount() != expected) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Runs a call that must return within a bound (a clean-up, say).
template <typename F> bool ReturnsWithin(F call, std::chrono::seconds bound) {
    auto done = std::async(std::launch::async, call);
    return done.wait_for(bound) == std::future_status::ready;
}

class ControlThread : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = MakeKeywordFolder(); // three movies naming "Jazz"
        host.StoreMoviesFolder(folder);
        SetSong(host.data().trackInfo, "Jazz", "Miles", "Blue", "So What");
        browse = gBuildPlayMovListParamToCntrl;
        browse.searchMethod = kSearchMethodBrowse;
    }
    void TearDown() override {
        OpenTextSearchGate();
        ASSERT_TRUE(ReturnsWithin([&] { CleanUpZoetropica(&host.data(), &host.data().movieFolderRef); }, 20s));
    }
    InProcessHost host;
    std::string folder;
    BuildPlayMovieListParam browse;
};

TEST_F(ControlThread, TheRingTurnsAsBuildsStartCompleteAndStop) {
    CloseTextSearchGate();
    InitZoetropica(&host.data(), &host.data().movieFolderRef, &browse);
    ASSERT_EQ(gAllMovieStore.StoredNumber, 3u);

    // The control thread starts the first build at once, into slot 1.
    ASSERT_TRUE(host.WaitForConsoleLine("INIT_BUILD_MOVIE_PLAY_LIST"));
    ASSERT_TRUE(WaitForBuildAtGate());
    EXPECT_EQ(RingCount(), 1);
    EXPECT_EQ(SlotInUse(), 0);

    // It completes: slot 1 is published.
    OpenTextSearchGate();
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 3"));
    EXPECT_EQ(host.CountConsoleLines("DONE_BUILD_MOVIE_PLAY_LIST"), 1);
    EXPECT_EQ(RingCount(), 1);
    EXPECT_EQ(SlotInUse(), 1);
    MovieStream* inUse[3];
    pthread_mutex_lock(&gContrlMoviePlayListLock); // slots are written by the build thread
    for (int i = 0; i < 3; ++i) inUse[i] = gRingBufMovieStore[1].movStreamArray[i];
    pthread_mutex_unlock(&gContrlMoviePlayListLock);

    // A new song: slot 0 is being filled while slot 1 stays in use.
    CloseTextSearchGate();
    SendStartToCntrlPlayMovieList(&host.data().trackInfo);
    ASSERT_TRUE(host.WaitForConsoleLine("START_BUILD_MOVIE_PLAY_LIST"));
    ASSERT_TRUE(WaitForBuildAtGate());
    EXPECT_EQ(RingCount(), 0);
    EXPECT_EQ(SlotInUse(), 1);

    // Another song before that build completes: cancelled, restarted into slot 0.
    CloseTextSearchGate();
    SendStartToCntrlPlayMovieList(&host.data().trackInfo);
    ASSERT_TRUE(host.WaitForConsoleLine("START_BUILD_MOVIE_PLAY_LIST", 2));
    ASSERT_TRUE(WaitForBuildAtGate());
    EXPECT_EQ(RingCount(), 0);
    EXPECT_EQ(SlotInUse(), 1);

    // Stop while building: the build is abandoned, the ring steps back.
    SendStopToCntrlPlayMovieList();
    ASSERT_TRUE(host.WaitForConsoleLine("STOP_BUILD_MOVIE_PLAY_LIST"));
    EXPECT_TRUE(RingCountBecomes(1));
    EXPECT_EQ(SlotInUse(), 1);

    // Start and complete: slot 0 is published.
    SendStartToCntrlPlayMovieList(&host.data().trackInfo);
    ASSERT_TRUE(host.WaitForConsoleLine("START_BUILD_MOVIE_PLAY_LIST", 3));
    ASSERT_TRUE(WaitForBuildAtGate());
    EXPECT_EQ(RingCount(), 0);
    OpenTextSearchGate();
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 3", 2));
    EXPECT_EQ(RingCount(), 0);
    EXPECT_EQ(SlotInUse(), 0);

    // The slot in use was never written while others were built.
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(gRingBufMovieStore[1].movStreamArray[i], inUse[i]);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    // Only completed builds printed their line.
    EXPECT_EQ(host.CountConsoleLines("DONE_BUILD_MOVIE_PLAY_LIST"), 2);
    EXPECT_EQ(host.CountConsoleLines("COMPLETE_BUILD_MOVIE_PLAY_LIST"), 2);
}

TEST_F(ControlThread, RapidSongChangesPublishOnlyTheLastSongsList) {
    InitZoetropica(&host.data(), &host.data().movieFolderRef, &browse);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 3"));
    // "Jazz" finds all three movies; "Rock" finds only the one naming it.
    for (int i = 0; i < 200; ++i) {
        SetSong(host.data().trackInfo, i % 2 == 0 ? "Jazz" : "Rock", "", "", "");
        SendStartToCntrlPlayMovieList(&host.data().trackInfo);
        std::this_thread::sleep_for(1ms);
    }
    SetSong(host.data().trackInfo, "Rock", "", "", "");
    SendStartToCntrlPlayMovieList(&host.data().trackInfo);
    // The last list published is the last song's: one movie.
    auto deadline = std::chrono::steady_clock::now() + 20s;
    for (;;) {
        auto lines = host.ConsoleLines();
        std::string last;
        for (auto& line : lines)
            if (line.rfind("Builded Play List Num", 0) == 0) last = line;
        int starts = host.CountConsoleLines("START_BUILD_MOVIE_PLAY_LIST");
        // Quiet: every start taken was followed by its publication.
        if (last == "Builded Play List Num 1" && lines.back() == last && starts > 0) break;
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "last line: " << lines.back();
        std::this_thread::sleep_for(5ms);
    }
    pthread_mutex_lock(&gCurMovieStoreLock);
    EXPECT_EQ(gCurMovieStore->StoredNumber, 1u);
    pthread_mutex_unlock(&gCurMovieStoreLock);
}

TEST_F(ControlThread, CleanUpWhileBuildingCancelsAndReturnsAfterTheThreadEnds) {
    CloseTextSearchGate();
    InitZoetropica(&host.data(), &host.data().movieFolderRef, &browse);
    ASSERT_TRUE(WaitForBuildAtGate());
    ASSERT_TRUE(ReturnsWithin([&] { CleanUpZoetropica(&host.data(), &host.data().movieFolderRef); }, 20s));
    EXPECT_EQ(host.CountConsoleLines("CLEANUP_BUILD_MOVIE_PLAY_LIST"), 1);
    EXPECT_EQ(host.CountConsoleLines("DONE_BUILD_MOVIE_PLAY_LIST"), 0);
    EXPECT_EQ(gCurMovieStore->StoredNumber, 0u);
}

TEST_F(ControlThread, CleanUpPostedBeforeTheThreadFirstWaitsIsNotLost) {
    for (int i = 0; i < 50; ++i) {
        InitZoetropica(&host.data(), &host.data().movieFolderRef, &browse);
        ASSERT_TRUE(ReturnsWithin([&] { CleanUpZoetropica(&host.data(), &host.data().movieFolderRef); }, 20s))
            << "round " << i;
    }
    EXPECT_EQ(host.CountConsoleLines("CLEANUP_BUILD_MOVIE_PLAY_LIST"), 50);
}

TEST_F(ControlThread, StopWhileIdleLogsAndKeepsTheList) {
    InitZoetropica(&host.data(), &host.data().movieFolderRef, &browse);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 3"));
    int slot = SlotInUse();
    SendStopToCntrlPlayMovieList();
    ASSERT_TRUE(host.WaitForConsoleLine("STOP_BUILD_MOVIE_PLAY_LIST"));
    EXPECT_EQ(SlotInUse(), slot);
    EXPECT_EQ(RingCount(), slot);
}

TEST(ControlThreadWithoutMovies, RequestsPostNothingAndCleanUpStillEnds) {
    InProcessHost host;
    host.StoreMoviesFolder(MakeEmptyFolder());
    InitZoetropica(&host.data(), &host.data().movieFolderRef, nullptr);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 0"));
    SendStartToCntrlPlayMovieList(&host.data().trackInfo);
    SendStopToCntrlPlayMovieList();
    ASSERT_TRUE(ReturnsWithin([&] { CleanUpZoetropica(&host.data(), &host.data().movieFolderRef); }, 20s));
    EXPECT_EQ(host.CountConsoleLines("START_BUILD_MOVIE_PLAY_LIST"), 0);
    EXPECT_EQ(host.CountConsoleLines("STOP_BUILD_MOVIE_PLAY_LIST"), 0);
    EXPECT_EQ(host.CountConsoleLines("CLEANUP_BUILD_MOVIE_PLAY_LIST"), 1);
}

} // namespace
