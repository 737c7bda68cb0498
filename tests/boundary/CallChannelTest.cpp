// The host call channel, with a recording application procedure. The source
// file is included so its file-local MemClear can be tested too.
#include "iTunesAPI.cpp"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::pair<OSType, PlayerMessageInfo>> calls;
    OSStatus answer = noErr;
    // What the "host" writes back into the record before answering.
    void (*fill)(PlayerMessageInfo*) = nullptr;
};

OSStatus RecordingProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo) {
    auto* recorder = static_cast<Recorder*>(appCookie);
    if (recorder->fill != nullptr) recorder->fill(messageInfo);
    recorder->calls.emplace_back(message, *messageInfo);
    return recorder->answer;
}

bool UnionIsZero(const PlayerMessageInfo& info) {
    auto* bytes = reinterpret_cast<const UInt8*>(&info.u);
    for (size_t i = 0; i < sizeof(info.u); ++i)
        if (bytes[i] != 0) return false;
    return true;
}

void ExpectHeader(const PlayerMessageInfo& info) {
    EXPECT_EQ(info.messageMajorVersion, 10u);
    EXPECT_EQ(info.messageMinorVersion, 1u);
    EXPECT_EQ(info.messageInfoSize, sizeof(PlayerMessageInfo));
}

TEST(CallChannel, StampsTheCallersHeaderAndReturnsTheHostsStatus) {
    Recorder recorder;
    recorder.answer = -12345;
    PlayerMessageInfo info{};
    info.messageMajorVersion = 99;
    info.messageMinorVersion = 98;
    info.messageInfoSize = 97;
    info.u.setPluginDataMessage.dataSize = 42;
    EXPECT_EQ(ITCallApplication(&recorder, RecordingProc, FourCC("abcd"), &info), -12345);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].first, FourCC("abcd"));
    ExpectHeader(recorder.calls[0].second);
    EXPECT_EQ(recorder.calls[0].second.u.setPluginDataMessage.dataSize, 42u);
    ExpectHeader(info); // the caller's own record was stamped
}

TEST(CallChannel, NullRecordBecomesAZeroedOne) {
    Recorder recorder;
    EXPECT_EQ(ITCallApplication(&recorder, RecordingProc, FourCC("xxxx"), nullptr), noErr);
    ASSERT_EQ(recorder.calls.size(), 1u);
    ExpectHeader(recorder.calls[0].second);
    EXPECT_TRUE(UnionIsZero(recorder.calls[0].second));
}

TEST(CallChannel, IdleAndAboutSendNothingButTheHeader) {
    Recorder recorder;
    recorder.answer = -7;
    EXPECT_EQ(PlayerIdle(&recorder, RecordingProc), -7);
    PlayerShowAbout(&recorder, RecordingProc);
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].first, FourCC("idle"));
    EXPECT_EQ(recorder.calls[1].first, FourCC("abou"));
    for (auto& call : recorder.calls) {
        ExpectHeader(call.second);
        EXPECT_TRUE(UnionIsZero(call.second));
    }
}

TEST(CallChannel, WrappersFillTheirMemberAndLeaveTheRestZero) {
    Recorder recorder;
    static const unsigned char name[] = {3, 'a', 'b', 'c'};
    char buffer[8];
    PlayerSetPluginNamedData(&recorder, RecordingProc, name, buffer, 8);
    PlayerGetPluginNamedData(&recorder, RecordingProc, name, buffer, 80, nullptr);
    PlayerSetFullScreenOptions(&recorder, RecordingProc, 1, 2, 3, 4, 5);
    SInt8 url[] = "x";
    PlayerOpenURL(&recorder, RecordingProc, url, 1);
    ASSERT_EQ(recorder.calls.size(), 4u);

    auto set = recorder.calls[0].second;
    EXPECT_EQ(recorder.calls[0].first, FourCC("snpr"));
    EXPECT_EQ(set.u.setPluginNamedDataMessage.dataName, name);
    EXPECT_EQ(set.u.setPluginNamedDataMessage.dataPtr, buffer);
    EXPECT_EQ(set.u.setPluginNamedDataMessage.dataSize, 8u);

    auto get = recorder.calls[1].second;
    EXPECT_EQ(recorder.calls[1].first, FourCC("gnpr"));
    EXPECT_EQ(get.u.getPluginNamedDataMessage.dataBufferSize, 80u);
    EXPECT_EQ(get.u.getPluginNamedDataMessage.dataSize, 0u);

    auto options = recorder.calls[2].second.u.setFullScreenOptionsMessage;
    EXPECT_EQ(recorder.calls[2].first, FourCC("sfop"));
    EXPECT_EQ(options.minBitDepth, 1);
    EXPECT_EQ(options.maxBitDepth, 2);
    EXPECT_EQ(options.preferredBitDepth, 3);
    EXPECT_EQ(options.desiredWidth, 4);
    EXPECT_EQ(options.desiredHeight, 5);

    // The bytes after a short member stay zero.
    auto open = recorder.calls[3].second;
    EXPECT_EQ(recorder.calls[3].first, FourCC("url "));
    auto* tail = reinterpret_cast<const UInt8*>(&open.u) + sizeof(PlayerOpenURLMessage);
    for (size_t i = 0; i < sizeof(open.u) - sizeof(PlayerOpenURLMessage); ++i)
        ASSERT_EQ(tail[i], 0) << "byte " << i;
}

TEST(CallChannel, OutArgumentsAreWrittenEvenOnErrorAndNullOnesSkipped) {
    Recorder recorder;
    recorder.answer = paramErr;
    recorder.fill = [](PlayerMessageInfo* info) {
        info->u.getPluginDataMessage.dataSize = 77;
    };
    UInt32 size = 0;
    EXPECT_EQ(PlayerGetPluginData(&recorder, RecordingProc, nullptr, 0, &size), paramErr);
    EXPECT_EQ(size, 77u);
    EXPECT_EQ(PlayerGetPluginData(&recorder, RecordingProc, nullptr, 0, nullptr), paramErr);

    recorder.fill = [](PlayerMessageInfo* info) {
        info->u.getPluginNamedDataMessage.dataSize = 80;
    };
    static const unsigned char name[] = {1, 'k'};
    size = 0;
    EXPECT_EQ(PlayerGetPluginNamedData(&recorder, RecordingProc, name, nullptr, 80, &size),
              paramErr);
    EXPECT_EQ(size, 80u);
    EXPECT_EQ(PlayerGetPluginNamedData(&recorder, RecordingProc, name, nullptr, 80, nullptr),
              paramErr);

    recorder.fill = [](PlayerMessageInfo* info) { info->u.handleMacOSEventMessage.handled = 1; };
    Boolean handled = 0;
    EventRecord event{};
    EXPECT_EQ(PlayerHandleMacOSEvent(&recorder, RecordingProc, &event, &handled), paramErr);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(PlayerHandleMacOSEvent(&recorder, RecordingProc, &event, nullptr), paramErr);
}

TEST(CallChannel, RecordPassingWrappersHandTheCallersMemberOn) {
    Recorder recorder;
    PlayerMessageInfo info{};
    info.u.registerVisualPluginMessage.options = 40;
    PlayerRegisterVisualPlugin(&recorder, RecordingProc, &info);
    PlayerRegisterDevicePlugin(&recorder, RecordingProc, &info);
    PlayerUnregisterPlugin(&recorder, RecordingProc, &info);
    ASSERT_EQ(recorder.calls.size(), 3u);
    const OSType codes[] = {FourCC("rvis"), FourCC("rdev"), FourCC("unrg")};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(recorder.calls[i].first, codes[i]);
        EXPECT_EQ(recorder.calls[i].second.u.registerVisualPluginMessage.options, 40u);
        ExpectHeader(recorder.calls[i].second);
    }
}

TEST(CallChannel, SetNumVersionStoresTheBytesInOrder) {
    NumVersion version{};
    SetNumVersion(&version, 1, 0, 0x80, 0);
    auto* bytes = reinterpret_cast<const UInt8*>(&version);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0x80);
    EXPECT_EQ(bytes[3], 0x00);
}

// MemClear clears exactly [dest, dest + length), whatever the alignment.
TEST(CallChannel, MemClearClearsExactlyTheRange) {
    struct Case {
        int offset;
        SInt32 length;
    };
    const Case cases[] = {{1, 17}, {0, 16}, {3, 16}, {0, 17}, {2, 40}, {1, 0}, {1, -1}, {0, 1}};
    for (const Case& c : cases) {
        alignas(4) std::array<UInt8, 64> block;
        block.fill(0xAB);
        MemClear(block.data() + c.offset, c.length);
        for (int i = 0; i < int(block.size()); ++i) {
            bool inside = i >= c.offset && i < c.offset + c.length;
            ASSERT_EQ(block[i], inside ? 0 : 0xAB)
                << "offset " << c.offset << " length " << c.length << " byte " << i;
        }
    }
}

} // namespace
