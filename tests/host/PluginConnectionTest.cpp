// The host's side of the plug-in interface, against a fake plug-in: registration
// is checked and misuse reported, named data answers as the plug-in relies on,
// and requests from a thread other than the host's are refused.
#include "PluginConnection.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <thread>

#include "FakePlugin.h"
#include "ScratchFolder.h"

namespace zt::host {
namespace {

using test::FakePlugin;
using test::ScratchFolder;

class Connection : public testing::Test {
  protected:
    ScratchFolder scratch;
    FakePlugin fake;
    std::ostringstream said;
    Reporter reporter{said};
    std::filesystem::path pluginFile = scratch / "Fake.so";

    Connection() { test::WriteBytes(pluginFile, {0}); }

    std::unique_ptr<PluginConnection> Connect() {
        return std::make_unique<PluginConnection>(
            &test::FakeEntry, pluginFile, reporter,
            [this](std::string_view name) { return scratch / (std::string(name) + ".named-data"); });
    }
};

struct RegistrationCase {
    const char* what;
    std::function<void(FakePlugin&)> misbehave;
    const char* error;  // part of Register's error
    const char* misuse; // part of the misuse report, or null
};

TEST_F(Connection, RefusesRegistrationsItCannotDrive) {
    const RegistrationCase cases[] = {
        {"no registration", [](FakePlugin& f) { f.registrations = 0; }, "did not register", nullptr},
        {"entry fails", [](FakePlugin& f) { f.entryStatus = -50; }, "(status -50)", nullptr},
        {"record of another size", [](FakePlugin& f) { f.recordSize = 124; }, "did not register",
         "a record of version 10 and 124 bytes"},
        {"no handler", [](FakePlugin& f) { f.registration.handler = nullptr; }, "did not register",
         "without a message handler"},
        {"empty name", [](FakePlugin& f) { f.registration.name[0] = 0; }, "did not register",
         "a name of 0 bytes"},
        {"name past a Str63", [](FakePlugin& f) { f.registration.name[0] = 64; }, "did not register",
         "a name of 64 bytes"},
        {"limits that fit nothing", [](FakePlugin& f) { f.registration.maxWidth = 10; },
         "did not register", "which no window fits"},
    };
    for (const RegistrationCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlugin misbehaving;
        said.str("");
        c.misbehave(misbehaving);
        auto connection = Connect();
        std::optional<std::string> error = connection->Register();
        ASSERT_TRUE(error);
        EXPECT_NE(error->find(c.error), std::string::npos) << *error;
        if (c.misuse != nullptr) {
            EXPECT_NE(said.str().find("plug-in misuse: "), std::string::npos) << said.str();
            EXPECT_NE(said.str().find(c.misuse), std::string::npos) << said.str();
        }
    }
}

TEST_F(Connection, DrivesTheFirstOfTwoRegistrationsAndSaysSo) {
    fake.registrations = 2;
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    EXPECT_EQ(connection->registeredName(), "Fake");
    EXPECT_NE(said.str().find("a second visual plug-in registered"), std::string::npos);
    EXPECT_EQ(reporter.misuseCount(), 1);
}

TEST_F(Connection, WantsAnInstanceRecordFromTheHandlersInit) {
    fake.makesInstanceRecord = false;
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    std::optional<std::string> error = connection->InitialiseVisual();
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("no instance record"), std::string::npos);
    VisualPluginMessageInfo info{};
    EXPECT_EQ(connection->Send(kVisualPluginShowWindowMessage, info), unimpErr);
    EXPECT_EQ(fake.messages, std::vector<std::string>{"'init'"}) << "nothing sent without a record";
}

TEST_F(Connection, SendsInitAndCleanUpOnceEach) {
    {
        auto connection = Connect();
        ASSERT_FALSE(connection->Register());
        ASSERT_FALSE(connection->InitialiseVisual());
        connection->CleanUp();
        connection->CleanUp();
    } // and not again when it goes
    EXPECT_EQ(fake.messages, (std::vector<std::string>{"'init'", "'clr '"}));
}

// Named-data requests as the plug-in makes them.
const unsigned char kMoviesFolder[] = "\x0dMovies Folder";

OSStatus SetNamed(const FakePlugin& fake, ConstStringPtr name, const void* data, UInt32 size) {
    PlayerMessageInfo info{};
    info.u.setPluginNamedDataMessage = {name, const_cast<void*>(data), size};
    return fake.Request(kPlayerSetPluginNamedDataMessage, info);
}

OSStatus GetNamed(const FakePlugin& fake, ConstStringPtr name, void* buffer, UInt32 size,
                  UInt32* dataSize) {
    PlayerMessageInfo info{};
    info.u.getPluginNamedDataMessage = {name, buffer, size, 0xdeadbeef};
    OSStatus status = fake.Request(kPlayerGetPluginNamedDataMessage, info);
    *dataSize = info.u.getPluginNamedDataMessage.dataSize;
    return status;
}

TEST_F(Connection, NamedDataComesBackAsStoredAndOutlivesTheConnection) {
    std::array<uint8_t, 80> ref{};
    for (size_t i = 0; i < ref.size(); ++i) ref[i] = uint8_t(i * 3 + 1);
    {
        auto connection = Connect();
        ASSERT_FALSE(connection->Register());
        EXPECT_EQ(SetNamed(fake, kMoviesFolder, ref.data(), 80), noErr);
    }
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    std::array<uint8_t, 80> back{};
    UInt32 size = 0;
    EXPECT_EQ(GetNamed(fake, kMoviesFolder, back.data(), 80, &size), noErr);
    EXPECT_EQ(size, 80u);
    EXPECT_EQ(back, ref);

    // A smaller buffer gets what fits and learns the whole size.
    std::array<uint8_t, 10> part{};
    EXPECT_EQ(GetNamed(fake, kMoviesFolder, part.data(), 10, &size), noErr);
    EXPECT_EQ(size, 80u);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), ref.begin()));
}

TEST_F(Connection, AMissingNameLeavesTheBufferUntouched) {
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    std::array<uint8_t, 80> buffer;
    buffer.fill(0xab);
    UInt32 size = 0;
    EXPECT_EQ(GetNamed(fake, kMoviesFolder, buffer.data(), 80, &size), kNamedDataNotFound);
    EXPECT_EQ(size, 0u);
    for (uint8_t b : buffer) ASSERT_EQ(b, 0xab);
}

TEST_F(Connection, UnnamedPluginDataIsKeptApartFromNamedData) {
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    uint32_t value = 0x01020304;
    PlayerMessageInfo set{};
    set.u.setPluginDataMessage = {&value, 4};
    EXPECT_EQ(fake.Request(kPlayerSetPluginDataMessage, set), noErr);
    PlayerMessageInfo get{};
    uint32_t back = 0;
    get.u.getPluginDataMessage = {&back, 4, 0};
    EXPECT_EQ(fake.Request(kPlayerGetPluginDataMessage, get), noErr);
    EXPECT_EQ(back, value);
    UInt32 size = 0;
    EXPECT_EQ(GetNamed(fake, reinterpret_cast<ConstStringPtr>("\0"), &back, 4, &size), paramErr)
        << "an empty name is refused, not the unnamed data";
}

TEST_F(Connection, RefusesMalformedRequestsAndSaysWhy) {
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    uint8_t data[4] = {};
    UInt32 size = 0;
    EXPECT_EQ(SetNamed(fake, nullptr, data, 4), paramErr);
    EXPECT_EQ(SetNamed(fake, kMoviesFolder, nullptr, 4), paramErr);
    EXPECT_EQ(GetNamed(fake, kMoviesFolder, nullptr, 4, &size), paramErr);
    PlayerMessageInfo spec{};
    EXPECT_EQ(fake.Request(kPlayerGetPluginFileSpecMessage, spec), paramErr);
    PlayerMessageInfo unknown{};
    EXPECT_EQ(fake.Request(FourCC("wxyz"), unknown), unimpErr);
    EXPECT_EQ(connection->Answer(kPlayerIdleMessage, nullptr), paramErr);
    EXPECT_EQ(reporter.misuseCount(), 6) << said.str();
    EXPECT_NE(said.str().find("unknown request 'wxyz'"), std::string::npos);
    // A store request that was refused stored nothing.
    EXPECT_EQ(GetNamed(fake, kMoviesFolder, data, 4, &size), kNamedDataNotFound);
}

TEST_F(Connection, AnswersTheOtherRequestsQuietly) {
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    PlayerMessageInfo event{};
    EventRecord record{};
    event.u.handleMacOSEventMessage = {&record, true};
    EXPECT_EQ(fake.Request(kPlayerHandleMacOSEventMessage, event), noErr);
    EXPECT_FALSE(event.u.handleMacOSEventMessage.handled);
    for (OSType code : {kPlayerIdleMessage, kPlayerSetFullScreenMessage, kPlayerSetFullScreenOptionsMessage}) {
        PlayerMessageInfo info{};
        EXPECT_EQ(fake.Request(code, info), noErr);
    }
    PlayerMessageInfo device{};
    EXPECT_EQ(fake.Request(kPlayerRegisterDevicePluginMessage, device), unimpErr);
    EXPECT_EQ(reporter.misuseCount(), 0) << said.str();
}

TEST_F(Connection, FillsThePluginsFileSpecification) {
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    FSSpec spec{};
    PlayerMessageInfo info{};
    info.u.getPluginFileSpecMessage.fileSpec = &spec;
    ASSERT_EQ(fake.Request(kPlayerGetPluginFileSpecMessage, info), noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(spec.name + 1), spec.name[0]), "Fake.so");
    FSRef ref{};
    EXPECT_EQ(FSpMakeFSRef(&spec, &ref), noErr);
    UInt8 path[4096];
    ASSERT_EQ(FSRefMakePath(&ref, path, sizeof path), noErr);
    EXPECT_EQ(std::filesystem::path(reinterpret_cast<char*>(path)), std::filesystem::canonical(pluginFile));
}

TEST_F(Connection, RefusesRequestsFromOtherThreads) {
    auto connection = Connect();
    ASSERT_FALSE(connection->Register());
    uint8_t data[4] = {1, 2, 3, 4};
    OSStatus fromThread = noErr;
    std::thread other([&] { fromThread = SetNamed(fake, kMoviesFolder, data, 4); });
    other.join();
    EXPECT_EQ(fromThread, paramErr);
    EXPECT_NE(said.str().find("thread other than the host's"), std::string::npos) << said.str();
    UInt32 size = 0;
    EXPECT_EQ(GetNamed(fake, kMoviesFolder, data, 4, &size), kNamedDataNotFound);
}

} // namespace
} // namespace zt::host
