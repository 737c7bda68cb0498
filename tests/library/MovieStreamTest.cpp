// Opening movie files into streams: pictures on, 'MPEG' sound muted, text
// tracks listed (up to position 100) and switched off, every other track off,
// -38 without a picture, the open error for unreadable files, and the file
// always closed.
#include "Fixtures.h"
#include "MovieStore.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace zt::test;
namespace fs = std::filesystem;

int OpenDescriptors() {
    return int(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{}));
}

FSSpec SpecOf(const std::string& path) {
    FSRef ref{};
    FSSpec spec{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr);
    EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr);
    return spec;
}

struct Opened {
    OSErr err;
    MovieStream stream;
};

Opened Open(const std::string& path) {
    Opened opened{};
    FSSpec spec = SpecOf(path);
    Rect box = {0, 0, 48, 64};
    opened.err = OpenMovieStream(&opened.stream, &spec, nullptr, &box);
    return opened;
}

TEST(MovieStream, EachKindOfFileOpensAsItShould) {
    std::string folder = MakeEmptyFolder();
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        OSErr expected;
        int textTracks;
    };
    const Case cases[] = {
        {"picture.mp4", {}, noErr, 0},
        {"text.mp4", {"--sample", "0:1:Jazz"}, noErr, 1},
        {"two-texts.mkv", {"--text-track", "srt", "--sample", "0:1:a", "--text-track", "ass",
                           "--sample", "0:1:b"}, noErr, 2},
        {"with-sound.mp4", {"--sound", "--sample", "0:1:x"}, noErr, 1},
        {"program.mpg", {"--kind", "mpeg-ps"}, noErr, 0},
        {"sound.m4a", {"--kind", "sound"}, fnOpnErr, 0},
        {"cover.m4a", {"--kind", "cover-art"}, fnOpnErr, 0},
        {"subtitles.srt", {"--kind", "srt-file", "--sample", "0:1:Jazz"}, fnOpnErr, 0},
    };
    for (const Case& c : cases) {
        std::string path = folder + "/" + c.name;
        MakeMovie(path, c.arguments);
        int before = OpenDescriptors();
        Opened opened = Open(path);
        EXPECT_EQ(OpenDescriptors(), before) << c.name << ": a file was left open";
        EXPECT_EQ(opened.err, c.expected) << c.name;
        EXPECT_EQ(opened.stream.gTextTrackNumber, c.textTracks) << c.name;
        if (opened.err != noErr) {
            EXPECT_EQ(opened.stream.gMovie, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(opened.stream.gMovie, nullptr) << c.name;
        Movie movie = opened.stream.gMovie;
        for (SInt32 i = 1; i <= GetMovieTrackCount(movie); ++i) {
            Track track = GetMovieIndTrack(movie, i);
            OSType type = 0;
            GetMediaHandlerDescription(GetTrackMedia(track), &type, nullptr, nullptr);
            bool picture = type == VideoMediaType || type == MPEGMediaType;
            EXPECT_EQ(GetTrackEnabled(track), picture ? 1 : 0) << c.name << " track " << i;
            if (type == MPEGMediaType) {
                EXPECT_EQ(GetTrackVolume(track), 0) << c.name;
            }
        }
        for (int t = 0; t < opened.stream.gTextTrackNumber; ++t) {
            OSType type = 0;
            Track track = GetMovieIndTrack(movie, opened.stream.gTextTrackIndex[t]);
            GetMediaHandlerDescription(GetTrackMedia(track), &type, nullptr, nullptr);
            EXPECT_EQ(type, TextMediaType) << c.name;
        }
        CloseMovieStream(&opened.stream);
        EXPECT_EQ(opened.stream.gMovie, nullptr);
    }
}

TEST(MovieStream, UnreadableFilesGiveTheOpenErrorAndLeaveNothingOpen) {
    std::string folder = MakeEmptyFolder();
    MakeMovie(folder + "/empty.mp4", {"--kind", "empty"});
    MakeMovie(folder + "/garbage.mp4", {"--kind", "garbage"});
    for (const char* name : {"empty.mp4", "garbage.mp4"}) {
        int before = OpenDescriptors();
        Opened opened = Open(folder + "/" + name);
        EXPECT_NE(opened.err, noErr) << name;
        EXPECT_NE(opened.err, fnOpnErr) << name << ": an unreadable file is not a movie without pictures";
        EXPECT_EQ(opened.stream.gMovie, nullptr) << name;
        EXPECT_EQ(OpenDescriptors(), before) << name;
    }
}

TEST(MovieStream, OnlyTextTracksAmongTheFirstHundredAreListed) {
    std::string folder = MakeEmptyFolder();
    // 99 filler tracks after the picture: text tracks at positions 101 and 102.
    MakeMovie(folder + "/late.mkv", {"--filler-tracks", "99", "--text-track", "srt", "--sample",
                                     "0:1:late", "--text-track", "srt", "--sample", "0:1:later"});
    MakeMovie(folder + "/edge.mkv", {"--filler-tracks", "98", "--text-track", "srt", "--sample",
                                     "0:1:edge", "--text-track", "srt", "--sample", "0:1:over"});
    Opened late = Open(folder + "/late.mkv");
    ASSERT_EQ(late.err, noErr);
    EXPECT_EQ(late.stream.gTextTrackNumber, 0);
    Opened edge = Open(folder + "/edge.mkv");
    ASSERT_EQ(edge.err, noErr);
    ASSERT_EQ(edge.stream.gTextTrackNumber, 1);
    EXPECT_EQ(edge.stream.gTextTrackIndex[0], 100);
    CloseMovieStream(&late.stream);
    CloseMovieStream(&edge.stream);
}

TEST(MovieStream, StoresCopyPointersAndTheRingTurnsBothWays) {
    MovieStream a{}, b{};
    MovieStream* entries[2] = {&a, &b};
    MovieStore src{entries, 2};
    MovieStream* room[2] = {nullptr, nullptr};
    MovieStore dest{room, 0};
    CopyMovieStore(&src, &dest);
    EXPECT_EQ(dest.StoredNumber, 2u);
    EXPECT_EQ(room[1], &b);
    MovieStore empty{nullptr, 0};
    CopyMovieStore(&empty, &dest);
    EXPECT_EQ(dest.StoredNumber, 0u);
    EXPECT_EQ(GetMovieFromMovieStore(&src, 1), &b.gMovie);

    SInt16 start = gRingBuffCount;
    IncreRingBuffOfMovieStore();
    IncreRingBuffOfMovieStore();
    EXPECT_EQ(gRingBuffCount, start);
    gRingBuffCount = 0;
    DecreRingBuffOfMovieStore();
    EXPECT_EQ(gRingBuffCount, 1);
    DecreRingBuffOfMovieStore();
    EXPECT_EQ(gRingBuffCount, 0);
    gRingBuffCount = start;
}

} // namespace
