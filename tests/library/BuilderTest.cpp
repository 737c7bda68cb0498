// The text search and the four play-list builders over a folder of movies whose
// text tracks name known words.
#include "Fixtures.h"
#include "InProcessHost.h"
#include "MovieLibrary.h"
#include "PlayList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace zt::test;

// The builder folder, in name order (the order of gAllMovieStore):
//   0 "all four":   Jazz, Miles, Blue, So What (in separate samples)
//   1 "genre+artist": JAZZ and Miles in one sample, written in capitals
//   2 "genre":      a sample "late night jazz club"
//   3 "artist":     Rock, Miles
//   4 no text track at all
class Builders : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        host = new InProcessHost();
        host->StoreMoviesFolder(MakeBuilderFolder());
        InitZoetropica(&host->data(), &host->data().movieFolderRef, nullptr);
        ASSERT_TRUE(host->WaitForConsoleLine("Builded Play List Num 5"));
        // End the control thread but keep the library: the builders run here.
        SendCleanUpToCntrlPlayMovieList();
    }
    static void TearDownTestSuite() {
        CleanUpZoetropica(&host->data(), &host->data().movieFolderRef);
        delete host;
    }

    // The positions in gAllMovieStore of the entries of the slot being built.
    static std::vector<int> BuiltList() {
        std::vector<int> positions;
        const MovieStore& slot = gRingBufMovieStore[gRingBuffCount];
        for (UInt32 i = 0; i < slot.StoredNumber; ++i)
            for (UInt32 j = 0; j < gAllMovieStore.StoredNumber; ++j)
                if (slot.movStreamArray[i] == gAllMovieStore.movStreamArray[j])
                    positions.push_back(int(j));
        return positions;
    }

    static BuildPlayMovieListParam Criteria(const char* genre, const char* artist,
                                            const char* album, const char* title, UInt32 method,
                                            Boolean g = 1, Boolean a = 1, Boolean l = 1,
                                            Boolean t = 1) {
        BuildPlayMovieListParam p{};
        SetPascal(p.genreOfNowTrack, genre);
        SetPascal(p.artistOfNowTrack, artist);
        SetPascal(p.albumOfNowTrack, album);
        SetPascal(p.titleOfNowTrack, title);
        SetBuildFlagOfBuildPlayMovListParam(&p, g, a, l, t, method, kPlayModeRandom);
        return p;
    }

    static std::vector<int> Build(BuildPlayMovieListParam p) {
        BuildPlayMovieListThreadMain(&p); // one build, on this thread
        return BuiltList();
    }

    static InProcessHost* host;
};
InProcessHost* Builders::host;

const std::vector<int> kAll = {0, 1, 2, 3, 4};

TEST_F(Builders, SearchIgnoresCaseAndFindsKeywordsInsideSamples) {
    MovieStream* m = gAllMovieStore.movStreamArray[1];
    Str255 k;
    struct Case {
        const char* keyword;
        int movie;
        bool found;
    };
    const Case cases[] = {
        {"jazz", 1, true},  {"JAZZ", 1, true},   {"Jaz", 1, true},   {"miles", 1, true},
        {"blue", 1, false}, {"night", 2, true},  {"club", 2, true},  {"so what", 0, true},
        {"", 0, false},     {"Jazz", 4, false},  {"Miles Davis", 3, false},
    };
    for (const Case& c : cases) {
        m = gAllMovieStore.movStreamArray[c.movie];
        SetPascal(k, c.keyword);
        EXPECT_EQ(SearchTextTrackInMovieStream(m, k), c.found) << c.keyword << " in " << c.movie;
    }
    SetPascal(k, "Jazz");
    EXPECT_FALSE(SearchTextTrackInMovieStream(nullptr, k));
}

TEST_F(Builders, EachMethodBuildsItsList) {
    struct Case {
        const char* name;
        BuildPlayMovieListParam criteria;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"browse: all four levels", Criteria("Jazz", "Miles", "Blue", "So What", 1), {0}},
        {"browse: genre and artist", Criteria("Jazz", "Miles", "Nope", "Nope", 1), {0, 1}},
        {"browse: no album, title ignored", Criteria("Jazz", "Miles", "Nope", "So What", 1), {0, 1}},
        {"browse: genre only", Criteria("jazz", "Nobody", "", "", 1), {0, 1, 2}},
        {"browse: empty genre gives all", Criteria("", "Miles", "Blue", "So What", 1), kAll},
        {"browse: unknown genre gives all", Criteria("Pop", "Miles", "", "", 1), kAll},
        {"browse: flags ignored", Criteria("Jazz", "Miles", "", "", 1, 0, 0, 0, 0), {0, 1}},
        {"or: one criterion", Criteria("Rock", "Nope", "Nope", "Nope", 2), {3}},
        {"or: artist anywhere", Criteria("Nope", "Miles", "", "", 2), {0, 1, 3}},
        {"or: flags off give all", Criteria("Rock", "Miles", "", "", 2, 0, 0, 0, 0), kAll},
        {"or: a flag of 2 is off", Criteria("Nope", "Miles", "", "", 2, 1, 2, 1, 1), kAll},
        {"and: all four", Criteria("Jazz", "Miles", "Blue", "So What", 3), {0}},
        {"and: genre and artist", Criteria("Jazz", "Miles", "", "", 3, 1, 1, 0, 0), {0, 1}},
        {"and: flags off make every movie a hit", Criteria("", "", "", "", 3, 0, 0, 0, 0), kAll},
        {"and: empty genre finds nothing", Criteria("", "", "", "", 3, 1, 0, 0, 0), kAll},
        {"and: no match gives all", Criteria("Jazz", "Rock", "", "", 3, 1, 1, 0, 0), kAll},
        {"none", Criteria("Jazz", "Miles", "Blue", "So What", 4), kAll},
        {"method 0 is none", Criteria("Jazz", "Miles", "", "", 0), kAll},
        {"method 5 is none", Criteria("Rock", "", "", "", 5), kAll},
    };
    for (const Case& c : cases) EXPECT_EQ(Build(c.criteria), c.expected) << c.name;
}

TEST_F(Builders, BrowseFillsTheNestedHitLists) {
    Build(Criteria("Jazz", "Miles", "Blue", "So What", 1));
    EXPECT_EQ(gHitGenreMStore.StoredNumber, 3u);
    EXPECT_EQ(gHitGenreArtistMStore.StoredNumber, 2u);
    EXPECT_EQ(gHitGenreArtistAlbumMStore.StoredNumber, 1u);
    EXPECT_EQ(gHitGenreArtistAlbumNameMStore.StoredNumber, 1u);
}

TEST(BuildersWithoutMovies, EveryMethodGivesAnEmptyList) {
    InProcessHost host;
    host.StoreMoviesFolder(MakeEmptyFolder());
    InitZoetropica(&host.data(), &host.data().movieFolderRef, nullptr);
    ASSERT_TRUE(host.WaitForConsoleLine("Builded Play List Num 0"));
    SendCleanUpToCntrlPlayMovieList();
    for (UInt32 method : {1u, 2u, 3u, 4u}) {
        BuildPlayMovieListParam p{};
        SetPascal(p.genreOfNowTrack, "Jazz");
        SetBuildFlagOfBuildPlayMovListParam(&p, 1, 1, 1, 1, method, 1);
        BuildPlayMovieListThreadMain(&p);
        EXPECT_EQ(gRingBufMovieStore[gRingBuffCount].StoredNumber, 0u) << method;
    }
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
}

} // namespace
