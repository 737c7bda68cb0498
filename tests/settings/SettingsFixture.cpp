#include "SettingsFixture.h"

#include "MovieLibrary.h"
#include "PlayList.h"
#include "SettingsDialog.h"
#include "VisualCanvas.h"

namespace zt::test {

static const int kWidth = 64;
static const int kHeight = 48;

void SettingsWindowTest::SetUp() {
    if (!HaveRequestedBackend()) GTEST_SKIP() << "GTK asked for, but no display can be opened";
    static const bool registered = [] {
        zt::windows::RegisterBundleFolder(ZT_BUNDLE_DIR);
        return true;
    }();
    (void)registered;
    host = std::make_unique<InProcessHost>();
    pixels_.assign(size_t(kWidth) * kHeight, 0);
    Rect bounds = {0, 0, kHeight, kWidth};
    port_ = NewPortOnPixels(reinterpret_cast<Ptr>(pixels_.data()), kWidth * 4, &bounds);
}

void SettingsWindowTest::TearDown() {
    if (!host) return;
    if (shown_) HideVisualizer();
    // What 'clr ' does for the window: no click may reach the record freed next.
    ForgetSettingsDialogInstance(&data());
    DisposePortOnPixels(port_);
}

WindowRef SettingsWindowTest::Open() {
    EXPECT_EQ(OpenSettingsDialog(&data()), noErr);
    window = zt::windows::FindWindowNamed("PluginSettings");
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(zt::windows::IsWindowShown(window));
    return window;
}

void SettingsWindowTest::ShowVisualizer(const std::string& folder, int movies) {
    host->StoreMoviesFolder(folder);
    Rect rect = {0, 0, kHeight, kWidth};
    ASSERT_EQ(ChangeVisualPort(&data(), port_, &rect), noErr);
    ASSERT_NE(data().offscreen, nullptr);
    int builds = host->CountConsoleLines("Builded Play List Num " + std::to_string(movies));
    InitZoetropica(&data(), &data().movieFolderRef, &gBuildPlayMovListParamToCntrl);
    shown_ = true;
    ASSERT_TRUE(
        host->WaitForConsoleLine("Builded Play List Num " + std::to_string(movies), builds + 1));
}

void SettingsWindowTest::HideVisualizer() {
    CleanUpZoetropica(&data(), &data().movieFolderRef);
    ChangeVisualPort(&data(), nullptr, nullptr);
    shown_ = false;
}

void SettingsWindowTest::Click(SInt32 id) {
    ASSERT_TRUE(zt::windows::ClickControl(window, id));
}

void SettingsWindowTest::Pick(SInt32 id, int item) {
    ASSERT_TRUE(zt::windows::PickPopUpItem(window, id, item));
}

void SettingsWindowTest::ChooseFolder(std::optional<std::string> folder) {
    if (folder)
        zt::windows::PresetFolderChoice(std::filesystem::path(*folder));
    else
        zt::windows::PresetFolderChoice(std::nullopt);
    Click(kChooseFolderId);
}

BuildPlayMovieListParam SharedCriteria() {
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    BuildPlayMovieListParam copy = gBuildPlayMovListParamToCntrl;
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    return copy;
}

void SetSharedFlags(Boolean genre, Boolean artist, Boolean album, Boolean title, UInt32 search,
                    UInt32 play) {
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    SetBuildFlagOfBuildPlayMovListParam(&gBuildPlayMovListParamToCntrl, genre, artist, album, title,
                                        search, play);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
}

std::vector<UInt8> FolderRefBytes(const std::string& folder) {
    FSRef ref{};
    Boolean isDirectory = 0;
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, &isDirectory),
              noErr);
    return std::vector<UInt8>(ref.hidden, ref.hidden + sizeof ref.hidden);
}

} // namespace zt::test
