// The entry point and the registration request, through the real bundle.
#include "TestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>

namespace {

using zt::test::TestHost;

// The registration record as the host must receive it, built field by field.
PlayerMessageInfo ExpectedRegistration(VisualPluginProcPtr handler) {
    PlayerMessageInfo info;
    std::memset(&info, 0, sizeof(info));
    info.messageMajorVersion = 10;
    info.messageMinorVersion = 1;
    info.messageInfoSize = sizeof(PlayerMessageInfo);
    auto& r = info.u.registerVisualPluginMessage;
    const char name[] = "Zoetropica";
    r.name[0] = 10;
    std::memcpy(r.name + 1, name, 10);
    r.options = 40;
    r.creator = 0x686f6f6b;
    r.pluginVersion = {0x01, 0x00, 0x80, 0x00};
    r.handler = handler;
    r.timeBetweenDataInMS = 0xFFFFFFFF;
    r.numWaveformChannels = 2;
    r.numSpectrumChannels = 2;
    r.minWidth = 64;
    r.minHeight = 64;
    r.maxWidth = 32767;
    r.maxHeight = 32767;
    return info;
}

TEST(Registration, RequestIsByteForByteTheRegistrationRecord) {
    TestHost host;
    ASSERT_EQ(host.CallEntry(FourCC("init")), noErr);
    ASSERT_EQ(host.CountRequests(FourCC("rvis")), 1);
    const auto& request = host.requests.front();
    ASSERT_EQ(request.message, FourCC("rvis"));

    VisualPluginProcPtr handler = request.info().u.registerVisualPluginMessage.handler;
    ASSERT_NE(handler, nullptr);
    PlayerMessageInfo expected = ExpectedRegistration(handler);
    // Every byte, padding included: what is not named is zero.
    EXPECT_EQ(std::memcmp(request.bytes.data(), &expected, sizeof(expected)), 0);

    // The handler lives inside the bundle.
    Dl_info where{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(handler), &where), 0);
    EXPECT_NE(std::strstr(where.dli_fname, "Zoetropica.so"), nullptr);
}

TEST(Registration, NameIsTenCharactersThenZeros) {
    TestHost host;
    host.CallEntry(FourCC("init"));
    const auto& name = host.registration().name;
    EXPECT_EQ(name[0], 10);
    EXPECT_EQ(std::memcmp(name + 1, "Zoetropica", 10), 0);
    for (int i = 11; i < 64; ++i) EXPECT_EQ(name[i], 0) << i;
    EXPECT_EQ(host.registration().maxWidth, 0x7fff);
    EXPECT_EQ(host.registration().maxHeight, 0x7fff);
}

TEST(Registration, EntryPointAnswersEachMessage) {
    TestHost host;
    EXPECT_EQ(host.CallEntry(FourCC("clr ")), noErr); // before any 'init'
    host.registerStatus = -3000;
    EXPECT_EQ(host.CallEntry(FourCC("init")), -3000); // the host's status, unchanged
    host.registerStatus = noErr;
    EXPECT_EQ(host.CallEntry(FourCC("init")), noErr); // a second 'init' registers again
    EXPECT_EQ(host.CountRequests(FourCC("rvis")), 2);
    EXPECT_EQ(std::memcmp(host.requests[0].bytes.data(), host.requests[1].bytes.data(),
                          sizeof(PlayerMessageInfo)),
              0);
    EXPECT_EQ(host.CallEntry(FourCC("clr ")), noErr);
    EXPECT_EQ(host.CallEntry(FourCC("show")), unimpErr);
    EXPECT_EQ(host.CallEntry(FourCC("xxxx")), unimpErr);
    EXPECT_EQ(host.requests.size(), 2u); // nothing but the two registrations was asked
}

} // namespace
