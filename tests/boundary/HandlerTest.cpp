// The visual message handler, driven through the real bundle by the test host.
#include "TestHost.h"
#include "VisualPluginData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using zt::test::SetPascal;
using zt::test::TestHost;

class Handler : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(host.CallEntry(FourCC("init")), noErr);
        ASSERT_NE(host.handler(), nullptr);
    }
    VisualPluginData& data() { return *static_cast<VisualPluginData*>(host.refCon()); }

    static bool AllZero(const void* p, size_t n) {
        auto* bytes = static_cast<const UInt8*>(p);
        for (size_t i = 0; i < n; ++i)
            if (bytes[i] != 0) return false;
        return true;
    }

    TestHost host;
};

TEST_F(Handler, InitMakesTheRecordAndAsksForThePluginFile) {
    host.pluginFileSpec.vRefNum = -100;
    host.pluginFileSpec.parID = 1234;
    SetPascal(host.pluginFileSpec.name, "Zoetropica.bundle");
    ASSERT_EQ(host.InitVisual(), noErr);
    ASSERT_NE(host.refCon(), nullptr);
    EXPECT_EQ(host.CountRequests(FourCC("pspc")), 1);
    EXPECT_EQ(data().appCookie, &host);
    SInt32 parID = data().pluginFileSpec.parID; // a packed field: read it by value
    EXPECT_EQ(parID, 1234);
    EXPECT_EQ(std::memcmp(&data().pluginFileSpec, &host.pluginFileSpec, sizeof(FSSpec)), 0);
    EXPECT_EQ(data().playing, 0);
    EXPECT_EQ(data().offscreen, nullptr);
    EXPECT_TRUE(AllZero(&data().trackInfo, sizeof(ITTrackInfo)));
}

TEST_F(Handler, FailingFileSpecIsReturnedButTheRecordIsKept) {
    host.fileSpecStatus = -43;
    EXPECT_EQ(host.InitVisual(), -43);
    EXPECT_NE(host.refCon(), nullptr);
}

TEST_F(Handler, EveryMessageReturnsItsResult) {
    ASSERT_EQ(host.InitVisual(), noErr);
    struct Case {
        const char* code;
        OSStatus result;
    };
    const Case cases[] = {
        {"vrnd", noErr}, {"vupd", noErr}, {"null", noErr}, {"vply", noErr}, {"ctrk", noErr},
        {"vpau", noErr}, {"vunp", noErr}, {"vstp", noErr}, {"setp", noErr}, {"von ", noErr},
        {"voff", noErr}, {"cnfg", noErr}, {"swin", noErr}, {"show", noErr}, {"hide", noErr},
        {"vevt", unimpErr}, {"xxxx", unimpErr}, {"INIT", unimpErr},
    };
    for (const Case& c : cases) {
        VisualPluginMessageInfo info{};
        const char code[5] = {c.code[0], c.code[1], c.code[2], c.code[3], 0};
        EXPECT_EQ(host.Send(FourCC(code), &info), c.result) << c.code;
    }
    EXPECT_EQ(host.Send(FourCC("clr ")), noErr);
}

TEST_F(Handler, NullRefConChangesNothing) {
    for (const char* code : {"show", "hide", "vrnd", "vply", "cnfg", "swin"}) {
        VisualPluginMessageInfo info{};
        const char text[5] = {code[0], code[1], code[2], code[3], 0};
        EXPECT_EQ(host.SendWithRefCon(FourCC(text), &info, nullptr), unimpErr) << code;
    }
    EXPECT_EQ(host.SendWithRefCon(FourCC("clr "), nullptr, nullptr), noErr);
    EXPECT_TRUE(host.requests.size() == 1); // only the registration reached the host
}

TEST_F(Handler, PlayStateFollowsPlayPauseUnpauseStopButNotChangeTrack) {
    ASSERT_EQ(host.InitVisual(), noErr);
    struct Step {
        const char* code;
        Boolean playing;
    };
    const Step steps[] = {{"ctrk", 0}, {"vply", 1}, {"ctrk", 1}, {"vpau", 0},
                          {"vunp", 1}, {"vstp", 0}, {"vunp", 1}, {"hide", 1}};
    for (const Step& s : steps) {
        VisualPluginMessageInfo info{};
        const char code[5] = {s.code[0], s.code[1], s.code[2], s.code[3], 0};
        host.Send(FourCC(code), &info);
        EXPECT_EQ(data().playing, s.playing) << "after " << s.code;
    }
}

TEST_F(Handler, TrackAndStreamAreCopiedWholeOrZeroed) {
    ASSERT_EQ(host.InitVisual(), noErr);
    ITTrackInfo track{};
    SetPascal(track.name, "So What");
    SetPascal(track.artist, "Miles Ahead");
    SetPascal(track.genre, "Jazz");
    track.playedCount = 7;
    ITStreamInfo stream{};
    SetPascal(stream.streamTitle, "Radio");

    VisualPluginMessageInfo play{};
    play.playMessage.trackInfo = &track;
    play.playMessage.streamInfo = &stream;
    EXPECT_EQ(host.Send(FourCC("vply"), &play), noErr);
    EXPECT_EQ(std::memcmp(&data().trackInfo, &track, sizeof track), 0);
    EXPECT_EQ(std::memcmp(&data().streamInfo, &stream, sizeof stream), 0);

    // A change of track with no pointers empties both copies; play state stays.
    VisualPluginMessageInfo change{};
    EXPECT_EQ(host.Send(FourCC("ctrk"), &change), noErr);
    EXPECT_TRUE(AllZero(&data().trackInfo, sizeof(ITTrackInfo)));
    EXPECT_TRUE(AllZero(&data().streamInfo, sizeof(ITStreamInfo)));
    EXPECT_EQ(data().playing, 1);

    // A play with a NULL track still plays.
    host.Send(FourCC("vstp"));
    VisualPluginMessageInfo bare{};
    bare.playMessage.streamInfo = &stream;
    host.Send(FourCC("vply"), &bare);
    EXPECT_TRUE(AllZero(&data().trackInfo, sizeof(ITTrackInfo)));
    EXPECT_EQ(data().playing, 1);

    // Hide forgets the track and the stream.
    host.Send(FourCC("vply"), &play);
    host.Send(FourCC("hide"));
    EXPECT_TRUE(AllZero(&data().trackInfo, sizeof(ITTrackInfo)));
    EXPECT_TRUE(AllZero(&data().streamInfo, sizeof(ITStreamInfo)));
}

TEST_F(Handler, RenderAndWindowMessagesRecordTheirFields) {
    ASSERT_EQ(host.InitVisual(), noErr);
    VisualPluginMessageInfo render{};
    render.renderMessage.timeStampID = 4242;
    host.Send(FourCC("vrnd"), &render);
    EXPECT_EQ(data().renderTimeStampID, 4242u);
    EXPECT_TRUE(AllZero(&data().renderData, sizeof(RenderVisualData)));

    VisualPluginMessageInfo show{};
    show.showWindowMessage.options = 3;
    show.showWindowMessage.drawRect = {100, 50, 340, 370};
    host.Send(FourCC("show"), &show);
    EXPECT_EQ(data().destOptions, 3u);
    EXPECT_EQ(data().destRect.top, 100);
    EXPECT_EQ(data().destRect.right, 370);

    VisualPluginMessageInfo set{};
    set.setWindowMessage.options = 9;
    set.setWindowMessage.drawRect = {0, 0, 200, 300};
    host.Send(FourCC("swin"), &set);
    EXPECT_EQ(data().destOptions, 9u);
    EXPECT_EQ(data().destRect.bottom, 200);
    EXPECT_EQ(data().destBitDepth, 0u);
}

TEST_F(Handler, TheFolderIsStoredAtHideAndReadBackAtShow) {
    ASSERT_EQ(host.InitVisual(), noErr);
    VisualPluginMessageInfo show{};
    show.showWindowMessage.drawRect = {0, 0, 200, 300};
    host.Send(FourCC("show"), &show);
    EXPECT_EQ(host.CountRequests(FourCC("gnpr")), 1);
    EXPECT_TRUE(AllZero(&data().movieFolderRef, sizeof(FSRef))); // nothing stored yet

    std::memset(&data().movieFolderRef, 0x5A, sizeof(FSRef));
    host.Send(FourCC("hide"));
    ASSERT_EQ(host.namedData.count("Movies Folder"), 1u);
    EXPECT_EQ(host.namedData["Movies Folder"], std::vector<uint8_t>(80, 0x5A));

    std::memset(&data().movieFolderRef, 0, sizeof(FSRef));
    host.Send(FourCC("show"), &show);
    EXPECT_EQ(std::vector<uint8_t>(reinterpret_cast<UInt8*>(&data().movieFolderRef),
                                   reinterpret_cast<UInt8*>(&data().movieFolderRef) + 80),
              std::vector<uint8_t>(80, 0x5A));
    host.Send(FourCC("hide"));
}

} // namespace
