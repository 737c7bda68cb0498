// The settings window through the real bundle, as a host drives it: 'cnfg'
// finds the bundle the process loaded by itself, control hits reach the
// exported handler, and after 'clr ' and a new 'init' they reach the new record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "SettingsBackend.h"
#include "TestHost.h"
#include "VisualPluginData.h"

namespace {

namespace fs = std::filesystem;
using namespace zt::test;
using namespace zt::windows;

// The folder catalog lives in a private folder, never in the user's own state.
fs::path PrivateFolder() {
    static const fs::path folder = [] {
        char pattern[] = "/tmp/zt-bundle-settings-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        setenv("XDG_STATE_HOME", (std::string(pattern) + "/state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (std::string(pattern) + "/cache").c_str(), 1);
        setenv("ZOETROPICA_CONSOLE", (std::string(pattern) + "/console").c_str(), 1);
        return fs::path(pattern);
    }();
    return folder;
}

std::vector<UInt8> RefBytes(const fs::path& folder) {
    FSRef ref{};
    Boolean isDirectory = 0;
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, &isDirectory),
              noErr);
    return std::vector<UInt8>(ref.hidden, ref.hidden + sizeof ref.hidden);
}

class BundleSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveRequestedBackend()) GTEST_SKIP() << "GTK asked for, but no display can be opened";
        PrivateFolder();
        host = std::make_unique<TestHost>();
        ASSERT_EQ(host->CallEntry(FourCC("init")), noErr);
        ASSERT_EQ(host->InitVisual(), noErr);
        Rect bounds = {0, 0, 48, 64};
        port = NewPortOnPixels(reinterpret_cast<Ptr>(pixels.data()), 64 * 4, &bounds);
    }
    void TearDown() override { DisposePortOnPixels(port); }

    OSStatus Show() {
        VisualPluginMessageInfo info{};
        info.showWindowMessage.port = port;
        info.showWindowMessage.drawRect = Rect{0, 0, 48, 64};
        return host->Send(FourCC("show"), &info);
    }

    std::unique_ptr<TestHost> host;
    std::vector<UInt32> pixels = std::vector<UInt32>(64 * 48, 0);
    CGrafPtr port = nullptr;
};

TEST_F(BundleSettings, ConfigureFindsTheLoadedBundleAndHitsReachItsHandler) {
    ASSERT_EQ(host->Send(FourCC("cnfg")), noErr);
    WindowRef window = FindWindowNamed("PluginSettings");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowShown(window));
    for (SInt32 id : {3, 4, 5, 6})
        EXPECT_EQ(ControlValue(window, id), 1);
    EXPECT_EQ(ControlValue(window, 7), 4);
    EXPECT_EQ(ControlValue(window, 8), 1);
    EXPECT_TRUE(ClickControl(window, 11));
    EXPECT_FALSE(IsWindowShown(window)) << "Cancel went through the bundle's handler";

    // 'clr ' frees the record: an open window closes and its clicks reach no
    // handler (ASan would see the freed record). A new 'init' and 'cnfg' bind
    // the window to the new one.
    ASSERT_EQ(host->Send(FourCC("cnfg")), noErr);
    ASSERT_EQ(host->Send(FourCC("clr ")), noErr);
    EXPECT_FALSE(IsWindowShown(window));
    EXPECT_TRUE(ClickControl(window, 3));
    EXPECT_TRUE(ClickControl(window, 10));
    ASSERT_EQ(host->InitVisual(), noErr);
    ASSERT_EQ(Show(), noErr);
    ASSERT_EQ(host->Send(FourCC("cnfg")), noErr);
    EXPECT_EQ(FindWindowNamed("PluginSettings"), window) << "made once, reused";
    fs::path chosen = PrivateFolder() / "movies";
    fs::create_directories(chosen);
    PresetFolderChoice(chosen);
    EXPECT_TRUE(ClickControl(window, 9));
    EXPECT_TRUE(ClickControl(window, 10));
    EXPECT_EQ(host->namedData["Movies Folder"], RefBytes(chosen));
    EXPECT_EQ(std::vector<UInt8>(
                  static_cast<VisualPluginData*>(host->refCon())->movieFolderRef.hidden,
                  static_cast<VisualPluginData*>(host->refCon())->movieFolderRef.hidden + 80),
              RefBytes(chosen));
    host->Send(FourCC("hide"));
}

} // namespace
