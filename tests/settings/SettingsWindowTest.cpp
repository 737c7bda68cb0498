// The settings window as a person uses it: the controls show the shared
// criteria, clicks edit a working copy, OK applies it (reloading the library
// for a newly chosen folder), Cancel and the title bar's close drop it.
#include <filesystem>
#include <fstream>

#include "Fixtures.h"
#include "MovieStore.h"
#include "SettingsDialog.h"
#include "SettingsFixture.h"

namespace {

using namespace zt::test;
using namespace zt::windows;

struct Flags {
    Boolean genre, artist, album, title;
    UInt32 search, play;
};

Flags FlagsOf(const BuildPlayMovieListParam& p) {
    return {p.isEnableGenre, p.isEnableArtist, p.isEnableAlbum,
            p.isEnableTitle, p.searchMethod,   p.playMode};
}

bool operator==(const Flags& a, const Flags& b) {
    return a.genre == b.genre && a.artist == b.artist && a.album == b.album && a.title == b.title &&
           a.search == b.search && a.play == b.play;
}

std::ostream& operator<<(std::ostream& out, const Flags& f) {
    return out << "{" << int(f.genre) << int(f.artist) << int(f.album) << int(f.title) << " search "
               << f.search << " play " << f.play << "}";
}

const Flags kDefaults = {1, 1, 1, 1, kSearchMethodNone, kPlayModeRandom};

OSStatus CountHit(EventHandlerCallRef, EventRef, void* userData) {
    ++*static_cast<int*>(userData);
    return eventNotHandledErr; // the plug-in's handler still sees the hit
}

using SettingsWindow = SettingsWindowTest;

TEST_F(SettingsWindow, OpeningShowsTheSharedCriteriaAndSettingThemIsNoHit) {
    Open();
    int hits = 0;
    EventTypeSpec controlHit = {kEventClassControl, kEventControlHit};
    EventHandlerRef counter = nullptr;
    ASSERT_EQ(InstallEventHandler(GetWindowEventTarget(window), NewEventHandlerUPP(CountHit), 1,
                                  &controlHit, &hits, &counter),
              noErr);
    SetSharedFlags(0, 1, 0, 1, kSearchMethodAnd, kPlayModeInOrder);
    Open();
    const std::pair<SInt32, SInt32> expected[] = {{kGenreId, 0}, {kArtistId, 1}, {kAlbumId, 0},
                                                  {kTitleId, 1}, {kSearchId, 3}, {kPlayId, 2}};
    for (auto [id, value] : expected)
        EXPECT_EQ(ControlValue(window, id), value) << "control " << id;
    EXPECT_EQ(hits, 0) << "values the program sets must not be hits";

    Click(kGenreId);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(ControlValue(window, kGenreId), 1);
    Click(kCancelId);
    EXPECT_EQ(hits, 2);
    EXPECT_FALSE(IsWindowShown(window));
    RemoveEventHandler(counter);
}

TEST_F(SettingsWindow, ClicksEditAWorkingCopyThatOKApplies) {
    ShowVisualizer(MakeCopiesFolder(2), 2);
    SetSong(data().trackInfo, "Jazz", "Miles", "Blue", "So What");
    int starts = host->CountConsoleLines("START_BUILD_MOVIE_PLAY_LIST");
    Open();
    Click(kGenreId);
    Click(kTitleId);
    Pick(kSearchId, 2);
    Pick(kPlayId, 2);
    Pick(kPlayId, 2); // picking the item shown is a hit too, and changes nothing
    EXPECT_EQ(FlagsOf(SharedCriteria()), kDefaults) << "only OK applies the edit";

    Click(kOKId);
    EXPECT_FALSE(IsWindowShown(window));
    EXPECT_EQ(FlagsOf(SharedCriteria()), (Flags{0, 1, 1, 0, kSearchMethodOr, kPlayModeInOrder}));
    EXPECT_TRUE(host->WaitForConsoleLine("START_BUILD_MOVIE_PLAY_LIST", starts + 1));
    BuildPlayMovieListParam shared = SharedCriteria();
    EXPECT_EQ(
        std::string(reinterpret_cast<char*>(shared.genreOfNowTrack + 1), shared.genreOfNowTrack[0]),
        "Jazz");
}

TEST_F(SettingsWindow, OKAtOnceKeepsTheCriteriaAndRestartsTheList) {
    ShowVisualizer(MakeCopiesFolder(2), 2);
    SetSharedFlags(1, 0, 1, 0, kSearchMethodBrowse, kPlayModeInOrder);
    int starts = host->CountConsoleLines("START_BUILD_MOVIE_PLAY_LIST");
    int builds = host->CountConsoleLines("Builded Play List Num 2");
    Open();
    Click(kOKId);
    EXPECT_EQ(FlagsOf(SharedCriteria()),
              (Flags{1, 0, 1, 0, kSearchMethodBrowse, kPlayModeInOrder}));
    EXPECT_TRUE(host->WaitForConsoleLine("START_BUILD_MOVIE_PLAY_LIST", starts + 1));
    EXPECT_TRUE(host->WaitForConsoleLine("Builded Play List Num 2", builds + 1));
}

// Ways of ending an edit without OK: each leaves the shared criteria, and the
// next edit starts from them again.
TEST_F(SettingsWindow, CancelAndClosingDropTheEdit) {
    ShowVisualizer(MakeCopiesFolder(1), 1);
    const std::pair<const char*, void (*)(WindowRef)> endings[] = {
        {"Cancel", [](WindowRef w) { EXPECT_TRUE(ClickControl(w, kCancelId)); }},
        {"close", [](WindowRef w) { EXPECT_TRUE(CloseWindow(w)); }},
    };
    for (auto [name, end] : endings) {
        SCOPED_TRACE(name);
        Open();
        Click(kGenreId);
        Pick(kSearchId, 1);
        end(window);
        EXPECT_FALSE(IsWindowShown(window));
        EXPECT_EQ(FlagsOf(SharedCriteria()), kDefaults);

        Open();
        EXPECT_EQ(ControlValue(window, kGenreId), 1) << "the controls show the shared criteria";
        EXPECT_EQ(ControlValue(window, kSearchId), int(kSearchMethodNone));
        Click(kOKId);
        EXPECT_EQ(FlagsOf(SharedCriteria()), kDefaults) << "the dropped change came back";
    }
}

TEST_F(SettingsWindow, ASecondOpeningResetsTheControlsButKeepsTheWorkingCopy) {
    ShowVisualizer(MakeCopiesFolder(1), 1);
    Open();
    Click(kGenreId);
    Pick(kPlayId, 2);
    Open();
    EXPECT_EQ(ControlValue(window, kGenreId), 1);
    EXPECT_EQ(ControlValue(window, kPlayId), int(kPlayModeRandom));
    Click(kOKId);
    EXPECT_EQ(FlagsOf(SharedCriteria()), (Flags{0, 1, 1, 1, kSearchMethodNone, kPlayModeInOrder}));
}

TEST_F(SettingsWindow, AChosenFolderSurvivesACancelledSecondChooser) {
    std::string first = MakeCopiesFolder(1);
    std::string chosen = MakeCopiesFolder(3);
    ShowVisualizer(first, 1);
    Open();
    ChooseFolder(chosen);
    ChooseFolder(std::nullopt);
    ChooseFolder("/no/such/folder"); // a chooser that fails takes nothing either
    Click(kOKId);
    EXPECT_EQ(host->namedData["Movies Folder"], FolderRefBytes(chosen));
    EXPECT_TRUE(host->WaitForConsoleLine("Builded Play List Num 3"));
    EXPECT_EQ(gAllMovieStore.StoredNumber, 3u);
}

TEST_F(SettingsWindow, CancelDropsAChosenFolderForGood) {
    std::string first = MakeCopiesFolder(1);
    ShowVisualizer(first, 1);
    Open();
    ChooseFolder(MakeCopiesFolder(3));
    Click(kCancelId);
    EXPECT_EQ(host->namedData["Movies Folder"], FolderRefBytes(first));
    EXPECT_EQ(gAllMovieStore.StoredNumber, 1u);

    int inits = host->CountConsoleLines("INIT_BUILD_MOVIE_PLAY_LIST");
    Open();
    Click(kOKId);
    EXPECT_EQ(host->CountConsoleLines("INIT_BUILD_MOVIE_PLAY_LIST"), inits) << "no reload";
    EXPECT_EQ(host->namedData["Movies Folder"], FolderRefBytes(first));
    EXPECT_EQ(gAllMovieStore.StoredNumber, 1u);
}

// Host requests seen while OK reloads: each with the number of movies loaded then.
struct RequestLog {
    ITAppProcPtr forward = nullptr;
    std::vector<std::pair<OSType, UInt32>> requests;
    std::vector<UInt8> stored;
};
RequestLog gRequestLog;

OSStatus RecordingAppProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo) {
    gRequestLog.requests.emplace_back(message, gAllMovieStore.StoredNumber);
    if (message == FourCC("snpr")) {
        auto* bytes = static_cast<const UInt8*>(messageInfo->u.setPluginNamedDataMessage.dataPtr);
        gRequestLog.stored.assign(bytes, bytes + messageInfo->u.setPluginNamedDataMessage.dataSize);
    }
    return gRequestLog.forward(appCookie, message, messageInfo);
}

TEST_F(SettingsWindow, AConfirmedFolderIsStoredBeforeTheOldLibraryIsFreedAndReadBack) {
    ShowVisualizer(MakeCopiesFolder(1), 1);
    std::string chosen = MakeCopiesFolder(3);
    gRequestLog = RequestLog{data().appProc, {}, {}};
    data().appProc = RecordingAppProc;
    Open();
    ChooseFolder(chosen);
    Pick(kSearchId, int(kSearchMethodAnd));
    Click(kOKId);
    data().appProc = gRequestLog.forward;

    const std::vector<std::pair<OSType, UInt32>> expected = {
        {FourCC("snpr"), 1}, // stored while the old library is still loaded
        {FourCC("gnpr"), 0}, // read back by the set-up that follows
    };
    EXPECT_EQ(gRequestLog.requests, expected);
    EXPECT_EQ(gRequestLog.stored, FolderRefBytes(chosen));
    EXPECT_TRUE(host->WaitForConsoleLine("Builded Play List Num 3"));
    EXPECT_EQ(gAllMovieStore.StoredNumber, 3u);
    EXPECT_EQ(SharedCriteria().searchMethod, kSearchMethodAnd) << "set-up applies the edit";
}

TEST_F(SettingsWindow, OKWhileTheVisualizerIsHiddenDropsTheEdit) {
    Open();
    Click(kArtistId);
    ChooseFolder(MakeCopiesFolder(1));
    Click(kOKId);
    EXPECT_FALSE(IsWindowShown(window));
    EXPECT_EQ(FlagsOf(SharedCriteria()), kDefaults);
    EXPECT_EQ(host->namedData.count("Movies Folder"), 0u);
    EXPECT_EQ(host->CountConsoleLines("INIT_BUILD_MOVIE_PLAY_LIST"), 0);
}

TEST_F(SettingsWindow, TheHandlerFollowsANewInstance) {
    Open();
    Click(kGenreId);
    Click(kCancelId);
    // 'clr ' and a new 'init': the first record is freed (ASan sees any later use).
    host.reset();
    host = std::make_unique<InProcessHost>();
    std::string chosen = MakeCopiesFolder(2);
    ShowVisualizer(MakeCopiesFolder(1), 1);
    Open();
    ChooseFolder(chosen);
    Click(kOKId);
    EXPECT_EQ(host->namedData["Movies Folder"], FolderRefBytes(chosen));
    EXPECT_TRUE(host->WaitForConsoleLine("Builded Play List Num 2"));
}

TEST_F(SettingsWindow, AForgottenInstanceGetsNoClicks) {
    Open();
    ForgetSettingsDialogInstance(&data());
    EXPECT_FALSE(IsWindowShown(window));
    EXPECT_TRUE(ClickControl(window, kGenreId));
    EXPECT_TRUE(ClickControl(window, kOKId));
    EXPECT_EQ(FlagsOf(SharedCriteria()), kDefaults);
    Open(); // the next configure binds the window again
    EXPECT_EQ(ControlValue(window, kGenreId), 1);
    Click(kCancelId);
    EXPECT_FALSE(IsWindowShown(window));
}

TEST_F(SettingsWindow, AMissingNibIsAnErrorAndALaterOpeningTriesAgain) {
    if (FindWindowNamed("PluginSettings") != nullptr)
        GTEST_SKIP() << "the window was made earlier in this process";
    std::filesystem::path broken = MakeEmptyFolder();
    std::filesystem::copy_file(std::filesystem::path(ZT_BUNDLE_DIR) / "Info.plist",
                               broken / "Info.plist");
    RegisterBundleFolder(broken); // the newest registration is found first
    EXPECT_NE(OpenSettingsDialog(&data()), noErr);
    EXPECT_EQ(FindWindowNamed("PluginSettings"), nullptr);

    RegisterBundleFolder(ZT_BUNDLE_DIR);
    Open();
    Click(kCancelId);
}

} // namespace
