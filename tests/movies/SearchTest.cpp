#include "MovieFixtures.h"

#include "TextCache.h"

#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sys/stat.h>

namespace zt::test {
namespace {

// mov_text samples (with a gap before the second, which the muxer fills with an empty sample).
std::string WordsMovie() {
    return Fixture("words.mp4",
                   "--duration 3 --sample 0:0.5:'late JAZZ night' --sample 1.5:2:'un été <b>chaud</b>' "
                   "--sample 2:2.5:Miles --sample 2.5:3:Davis");
}

TEST(TextSearch, FindsTheKeywordAnywhereInASampleIgnoringCase) {
    MoviePtr movie = OpenMovieOrFail(WordsMovie());
    ASSERT_NE(movie, nullptr);
    struct Case {
        const char* keyword;
        TimeValue time;
        TimeValue duration;
    };
    const Case cases[] = {
        {"jazz", 0, 500},           // inside a sample, at time 0, other case
        {"LATE JAZZ NIGHT", 0, 500},
        {"ÉTÉ", 1500, 500},         // non-ASCII case folding
        {"e\u0301te\u0301", 1500, 500}, // decomposed accents
        {"chaud", 1500, 500},       // the style box's text survives, its markup does not
        {"miles", 2000, 500},
        {"MilesDavis", -1, 0},      // never across two samples
        {"Miles Davis", -1, 0},
        {"b", -1, 0},               // markup never matches
        {"", -1, 0},                // the empty keyword
        {"blues", -1, 0},
    };
    for (const Case& c : cases) {
        Found found = Search(movie.get(), 2, c.keyword);
        EXPECT_EQ(found.result, noErr) << c.keyword;
        EXPECT_EQ(found.time, c.time) << c.keyword;
        EXPECT_EQ(found.duration, c.duration) << c.keyword;
    }
}

TEST(TextSearch, FlagsStartTimeAndOffsets) {
    MoviePtr movie = OpenMovieOrFail(WordsMovie());
    ASSERT_NE(movie, nullptr);
    struct Case {
        const char* keyword;
        SInt16 flags;
        TimeValue start;
        TimeValue time;
    };
    const Case cases[] = {
        {"jazz", findTextEdgeOK, 0, 0},
        {"jazz", 0, 0, -1},                  // without the edge, the sample at the start time is skipped
        {"jazz", findTextEdgeOK, 200, 0},    // the sample that holds the start time counts with the edge
        {"jazz", findTextEdgeOK, 600, -1},
        {"jazz", findTextEdgeOK | findTextWrapAround, 600, 0},
        {"JAZZ", findTextEdgeOK | findTextCaseSensitive, 0, 0},
        {"jazz", findTextEdgeOK | findTextCaseSensitive, 0, -1},
        {"a", findTextEdgeOK, 1000, 1500},   // the first sample after the start time that holds an "a"
        {"davis", findTextReverseSearch | findTextEdgeOK, 2500, 2500},
        {"miles", findTextReverseSearch, 2400, 2000},
        {"davis", findTextReverseSearch, 2400, -1},
    };
    for (const Case& c : cases) {
        Found found = Search(movie.get(), 2, c.keyword, c.flags, c.start);
        EXPECT_EQ(found.time, c.time) << c.keyword << " flags " << c.flags << " from " << c.start;
    }
    Found night = Search(movie.get(), 2, "NIGHT", findTextEdgeOK | findTextCaseSensitive);
    EXPECT_EQ(night.offset, 0);
    EXPECT_EQ(Search(movie.get(), 2, "night").offset, 10);
}

TEST(TextSearch, MarkupOfEachSubtitleCodecNeverMatches) {
    MoviePtr movie = OpenMovieOrFail(Fixture(
        "markup.mkv", "--text-track srt --sample \"0:1:<i>hello</i> <font color=\\\"red\\\">world</font>\" "
                      "--text-track ass --sample '0:1:{\\b1}Rock{\\b0}\\Nroll, baby' "
                      "--text-track webvtt --sample '0:1:<v Fred>fish &amp; chips'"));
    ASSERT_NE(movie, nullptr);
    struct Case {
        SInt32 track;
        const char* keyword;
        TimeValue time;
    };
    const Case cases[] = {
        {2, "hello world", 0}, {2, "i", -1},          {2, "font", -1},  {2, "color", -1}, {2, "red", -1},
        {3, "rock roll", 0},   {3, "roll, baby", 0},  {3, "b1", -1},    {3, "\\N", -1},   {3, "Default", -1},
        {4, "fish & chips", 0}, {4, "fred", -1},      {4, "amp", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Search(movie.get(), c.track, c.keyword).time, c.time) << "track " << c.track << ": " << c.keyword;
}

TEST(TextSearch, CallsThatFailReportNotFound) {
    MoviePtr movie = OpenMovieOrFail(WordsMovie());
    ASSERT_NE(movie, nullptr);
    TimeValue time = 77;
    char keyword[] = "jazz";
    // The picture track's handler is no text handler.
    MediaHandler picture = GetMediaHandler(GetTrackMedia(GetMovieIndTrack(movie.get(), 1)));
    EXPECT_EQ(TextMediaFindNextText(picture, keyword, 4, findTextEdgeOK, 0, &time, nullptr, nullptr), paramErr);
    EXPECT_EQ(time, -1);
    time = 77;
    EXPECT_EQ(TextMediaFindNextText(nullptr, keyword, 4, findTextEdgeOK, 0, &time, nullptr, nullptr), paramErr);
    EXPECT_EQ(time, -1);
    MediaHandler text = GetMediaHandler(GetTrackMedia(GetMovieIndTrack(movie.get(), 2)));
    time = 77;
    EXPECT_EQ(TextMediaFindNextText(text, keyword, -1, findTextEdgeOK, 0, &time, nullptr, nullptr), paramErr);
    EXPECT_EQ(time, -1);
}

TEST(TextSearch, TheCacheServesASecondOpenAndFollowsChangesOfTheFile) {
    std::string folder = ScratchFolder();
    std::string path = folder + "/cached.mp4";
    std::string other = Fixture("cached-b.mp4", "--sample 0:1:bravo");
    std::filesystem::copy_file(Fixture("cached-a.mp4", "--sample 0:1:alpha"), path);
    ASSERT_EQ(std::filesystem::file_size(path), std::filesystem::file_size(other)); // same size on purpose

    {
        MoviePtr movie = OpenMovieOrFail(path);
        EXPECT_EQ(Search(movie.get(), 2, "alpha").time, 0);
    }
    std::string cacheFile = zt::movies::TextCacheFile(path);
    ASSERT_TRUE(std::filesystem::exists(cacheFile));

    // Same size and time stamp, other bytes: a second open answers from the cache.
    struct stat before {};
    stat(path.c_str(), &before);
    std::filesystem::copy_file(other, path, std::filesystem::copy_options::overwrite_existing);
    timespec times[2] = {before.st_atim, before.st_mtim};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
    {
        MoviePtr movie = OpenMovieOrFail(path);
        EXPECT_EQ(Search(movie.get(), 2, "alpha").time, 0);
        EXPECT_EQ(Search(movie.get(), 2, "bravo").time, -1);
    }

    // A new time stamp: the cache is stale and the file is read again.
    timespec later[2] = {before.st_atim, {before.st_mtim.tv_sec + 10, 0}};
    utimensat(AT_FDCWD, path.c_str(), later, 0);
    {
        MoviePtr movie = OpenMovieOrFail(path);
        EXPECT_EQ(Search(movie.get(), 2, "bravo").time, 0);
        EXPECT_EQ(Search(movie.get(), 2, "alpha").time, -1);
    }

    // A damaged cache file is ignored, not trusted.
    std::ofstream(cacheFile, std::ios::binary | std::ios::trunc) << "ZTTXT001 and then nonsense";
    {
        MoviePtr movie = OpenMovieOrFail(path);
        EXPECT_EQ(Search(movie.get(), 2, "bravo").time, 0);
    }
}

TEST(TextSearch, AMovieWhoseFileVanishedFindsNothing) {
    std::string path = ScratchFolder() + "/vanishing.mp4";
    std::filesystem::copy_file(Fixture("cached-a.mp4", "--sample 0:1:alpha"), path);
    MoviePtr movie = OpenMovieOrFail(path);
    std::filesystem::remove(path);
    Found found = Search(movie.get(), 2, "alpha");
    EXPECT_EQ(found.result, noErr);
    EXPECT_EQ(found.time, -1);
}

} // namespace
} // namespace zt::test
