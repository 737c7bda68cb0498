// Set-up and tear-down of the movie library: the stored folder, loading in
// batches, what is skipped, and what is logged.
#include "Fixtures.h"
#include "InProcessHost.h"
#include "MovieLibrary.h"
#include "MoviePlayback.h"
#include "PlayList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace zt::test;
namespace fs = std::filesystem;

UInt32 MoviesInUse() {
    pthread_mutex_lock(&gCurMovieStoreLock);
    UInt32 n = gCurMovieStore->StoredNumber;
    pthread_mutex_unlock(&gCurMovieStoreLock);
    return n;
}

void SetUpAndWait(InProcessHost& host, int expectedMovies) {
    InitZoetropica(&host.data(), &host.data().movieFolderRef, nullptr);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num " + std::to_string(expectedMovies)));
}

TEST(Library, NothingStoredLoadsNoMoviesAndLogsNoLoadingLine) {
    InProcessHost host;
    SetUpAndWait(host, 0);
    EXPECT_EQ(gAllMovieStore.StoredNumber, 0u);
    EXPECT_EQ(MoviesInUse(), 0u);
    EXPECT_EQ(host.CountConsoleLines("movie number = 0"), 0);
    EXPECT_EQ(host.CountConsoleLines("INIT_BUILD_MOVIE_PLAY_LIST"), 1);
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
    // Tear-down stored the (all-zero) folder with the host.
    ASSERT_EQ(host.namedData.count("Movies Folder"), 1u);
    EXPECT_EQ(host.namedData["Movies Folder"], std::vector<UInt8>(80, 0));
}

TEST(Library, ThreeHundredMoviesLoadOverTwoBatchesDespiteNonMovies) {
    InProcessHost host;
    std::string folder = MakeCopiesFolder(300);
    // Items that are not movies, also at the end of the first batch of 234.
    std::ofstream(fs::path(folder) / "m0232.txt") << "not a movie";
    fs::create_directory(fs::path(folder) / "m0232.zz-subfolder");
    host.StoreMoviesFolder(folder);
    SetUpAndWait(host, 300);
    EXPECT_EQ(gAllMovieStore.StoredNumber, 300u);
    pthread_mutex_lock(&gContrlMoviePlayListLock); // the build thread wrote a slot
    EXPECT_EQ(gRingBufMovieStore[0].StoredNumber + gRingBufMovieStore[1].StoredNumber, 600u);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
    EXPECT_EQ(gAllMovieStore.StoredNumber, 0u);
    EXPECT_EQ(MoviesInUse(), 0u);
}

TEST(Library, AFolderWithoutMoviesLogsMovieNumberZero) {
    InProcessHost host;
    std::string folder = MakeEmptyFolder();
    fs::create_directory(fs::path(folder) / "sub");
    std::ofstream(fs::path(folder) / "notes.txt") << "hello";
    host.StoreMoviesFolder(folder);
    SetUpAndWait(host, 0);
    EXPECT_EQ(host.CountConsoleLines("movie number = 0"), 1);
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
}

TEST(Library, AVanishedFolderLoadsNothing) {
    InProcessHost host;
    std::string folder = MakeCopiesFolder(2);
    host.StoreMoviesFolder(folder);
    fs::remove_all(folder);
    SetUpAndWait(host, 0);
    EXPECT_EQ(host.CountConsoleLines("movie number = 0"), 0); // it could not be listed at all
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
}

TEST(Library, HideThenShowReloadsTheFolderStoredAtHide) {
    InProcessHost host;
    host.StoreMoviesFolder(MakeCopiesFolder(3));
    SetUpAndWait(host, 3);
    FSRef loaded = host.data().movieFolderRef;
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);

    // The host hands back what tear-down stored: the same folder loads again.
    std::memset(&host.data().movieFolderRef, 0, sizeof(FSRef));
    InitZoetropica(&host.data(), &host.data().movieFolderRef, nullptr);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 3", 2));
    EXPECT_EQ(std::memcmp(&host.data().movieFolderRef, &loaded, sizeof(FSRef)), 0);
    EXPECT_EQ(gAllMovieStore.StoredNumber, 3u);
    EXPECT_NE(gCurMovie, nullptr);
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
}

TEST(Library, ShowTwiceWithoutHideTearsDownFirst) {
    InProcessHost host;
    host.StoreMoviesFolder(MakeCopiesFolder(2));
    SetUpAndWait(host, 2);
    InitZoetropica(&host.data(), &host.data().movieFolderRef, nullptr);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 2", 2));
    EXPECT_EQ(host.CountConsoleLines("CLEANUP_BUILD_MOVIE_PLAY_LIST"), 1);
    EXPECT_EQ(gAllMovieStore.StoredNumber, 2u);
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
}

TEST(Library, SetUpAppliesTheGivenCriteria) {
    InProcessHost host;
    host.StoreMoviesFolder(MakeCopiesFolder(1));
    BuildPlayMovieListParam criteria = gBuildPlayMovListParamToCntrl;
    criteria.searchMethod = kSearchMethodAnd;
    criteria.playMode = kPlayModeInOrder;
    criteria.isEnableAlbum = 0;
    InitZoetropica(&host.data(), &host.data().movieFolderRef, &criteria);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 1"));
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    EXPECT_EQ(gBuildPlayMovListParamToCntrl.searchMethod, UInt32(kSearchMethodAnd));
    EXPECT_EQ(gBuildPlayMovListParamToCntrl.playMode, UInt32(kPlayModeInOrder));
    EXPECT_EQ(gBuildPlayMovListParamToCntrl.isEnableAlbum, 0);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
}

} // namespace
