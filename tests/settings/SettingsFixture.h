// A plug-in instance with its settings window, driven as a person would through
// WindowService, on the backend the run asked for. The visualizer can be shown
// (canvas and library set up, as 'show' does) so OK has something to apply to.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BuildPlayMovieListParam.h"
#include "InProcessHost.h"
#include "SettingsBackend.h"
#include "WindowService.h"

namespace zt::test {

enum : SInt32 {
    kGenreId = 3,
    kArtistId = 4,
    kAlbumId = 5,
    kTitleId = 6,
    kSearchId = 7,
    kPlayId = 8,
    kChooseFolderId = 9,
    kOKId = 10,
    kCancelId = 11,
};

class SettingsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    VisualPluginData& data() { return host->data(); }
    // 'cnfg': expects success and answers the settings window.
    WindowRef Open();
    // 'show' with the folder (stored with the host first), waiting for the first build.
    void ShowVisualizer(const std::string& folder, int movies);
    void HideVisualizer();
    void Click(SInt32 id);
    void Pick(SInt32 id, int item);
    void ChooseFolder(std::optional<std::string> folder);

    std::unique_ptr<InProcessHost> host;
    WindowRef window = nullptr;

  private:
    std::vector<UInt32> pixels_;
    CGrafPtr port_ = nullptr;
    bool shown_ = false;
};

// The shared criteria, read under their lock.
BuildPlayMovieListParam SharedCriteria();
void SetSharedFlags(Boolean genre, Boolean artist, Boolean album, Boolean title, UInt32 search,
                    UInt32 play);
// The 80 bytes a host stores for a folder.
std::vector<UInt8> FolderRefBytes(const std::string& folder);

} // namespace zt::test
