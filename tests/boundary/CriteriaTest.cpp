// The play-list criteria record: defaults, string copies and whole-record copies.
#include "BuildPlayMovieListParam.h"
#include "MovieLibrary.h"
#include "PlayList.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Criteria, PreInitialisationSetsTheDefaults) {
    std::memset(&gBuildPlayMovListParamToCntrl, 0x77, sizeof gBuildPlayMovListParamToCntrl);
    PreInitZoetropica();
    const auto& p = gBuildPlayMovListParamToCntrl;
    EXPECT_EQ(p.genreOfNowTrack[0], 0);
    EXPECT_EQ(p.artistOfNowTrack[0], 0);
    EXPECT_EQ(p.albumOfNowTrack[0], 0);
    EXPECT_EQ(p.titleOfNowTrack[0], 0);
    EXPECT_EQ(p.isEnableGenre, 1);
    EXPECT_EQ(p.isEnableArtist, 1);
    EXPECT_EQ(p.isEnableAlbum, 1);
    EXPECT_EQ(p.isEnableTitle, 1);
    EXPECT_EQ(p.searchMethod, 4u);
    EXPECT_EQ(p.playMode, 1u);
    EXPECT_EQ(gCurMovieStore, &gRingBufMovieStore[0]);
    EXPECT_EQ(gCurMovieStore->StoredNumber, 0u);
    EXPECT_EQ(gRingBuffCount, 0);
}

TEST(Criteria, CopyStringCopiesTheLengthByteAndThatManyBytes) {
    for (int length : {0, 1, 17, 255}) {
        Str255 src;
        for (int i = 0; i < 256; ++i) src[i] = UInt8(i * 7 + 3);
        src[0] = UInt8(length);
        Str255 dest;
        std::memset(dest, 0xEE, sizeof dest);
        CopyString(src, dest);
        EXPECT_EQ(std::memcmp(dest, src, size_t(length) + 1), 0) << length;
        for (int i = length + 1; i < 256; ++i) ASSERT_EQ(dest[i], 0xEE) << length << " at " << i;
    }
}

TEST(Criteria, CopiesOntoThemselvesChangeNothing) {
    Str255 s = {5, 'h', 'e', 'l', 'l', 'o'};
    Str255 before;
    std::memcpy(before, s, sizeof s);
    CopyString(s, s);
    EXPECT_EQ(std::memcmp(s, before, sizeof s), 0);

    BuildPlayMovieListParam p;
    std::memset(&p, 0x41, sizeof p);
    p.genreOfNowTrack[0] = 3;
    SetBuildFlagOfBuildPlayMovListParam(&p, 1, 0, 2, 1, 3, 2);
    BuildPlayMovieListParam saved = p;
    CopyBuildPlayMovListParam(&p, &p);
    EXPECT_EQ(std::memcmp(&p, &saved, sizeof p), 0);
}

TEST(Criteria, RecordCopiesMoveStringsFlagsMethodAndMode) {
    BuildPlayMovieListParam src{};
    Str255 genre = {4, 'J', 'a', 'z', 'z'}, artist = {0}, album = {2, 'A', 'B'},
           title = {1, 'T'};
    SetMusicInfoOfBuildPlayMovListParam(&src, genre, artist, album, title);
    SetBuildFlagOfBuildPlayMovListParam(&src, 1, 2, 0, 1, 1, 2);

    BuildPlayMovieListParam dest{};
    CopyBuildPlayMovListParam(&src, &dest);
    EXPECT_EQ(std::memcmp(dest.genreOfNowTrack, genre, 5), 0);
    EXPECT_EQ(dest.artistOfNowTrack[0], 0);
    EXPECT_EQ(std::memcmp(dest.albumOfNowTrack, album, 3), 0);
    EXPECT_EQ(std::memcmp(dest.titleOfNowTrack, title, 2), 0);

    Boolean g, a, l, t;
    unsigned int method, mode;
    GetBuildFlagOfBuildPlayMovListParam(&dest, &g, &a, &l, &t, &method, &mode);
    EXPECT_EQ(g, 1);
    EXPECT_EQ(a, 2); // stored as given: only 1 counts as on when searching
    EXPECT_EQ(l, 0);
    EXPECT_EQ(t, 1);
    EXPECT_EQ(method, 1u);
    EXPECT_EQ(mode, 2u);
}

} // namespace
