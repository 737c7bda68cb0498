#include "SettingsByHand.h"

#include <array>

#include "WindowService.h"

namespace zt::host {
namespace {

// The settings window's controls, by control id.
constexpr SInt32 kMatchBoxIds[4] = {3, 4, 5, 6}; // genre, artist, album, title
constexpr SInt32 kSearchPopUpId = 7;
constexpr SInt32 kPlayPopUpId = 8;
constexpr SInt32 kChooseFolderButtonId = 9;
constexpr SInt32 kOkButtonId = 10;
constexpr SInt32 kCancelButtonId = 11;
constexpr const char* kSettingsWindowName = "PluginSettings";

} // namespace

std::optional<std::string> SetCriteriaByHand(VisualSession& session, const Options& options) {
    OSStatus status = session.Configure();
    WindowRef window = windows::FindWindowNamed(kSettingsWindowName);
    if (status != noErr || window == nullptr || !windows::IsWindowShown(window))
        return "the plug-in's settings window did not open (status " + std::to_string(status) + ")";

    auto problem = [&](const std::string& what) -> std::optional<std::string> {
        // Leave the window as a person would after a failed attempt.
        windows::ClickControl(window, kCancelButtonId);
        return "cannot " + what + " in the plug-in's settings window";
    };
    if (options.match) {
        for (size_t field = 0; field < 4; ++field) {
            bool on = windows::ControlValue(window, kMatchBoxIds[field]) != 0;
            if (on != (*options.match)[field] && !windows::ClickControl(window, kMatchBoxIds[field]))
                return problem("tick the match boxes");
        }
    }
    if (options.searchMethod && !windows::PickPopUpItem(window, kSearchPopUpId, *options.searchMethod))
        return problem("pick the search method");
    if (options.playMode && !windows::PickPopUpItem(window, kPlayPopUpId, *options.playMode))
        return problem("pick the play mode");
    if (options.chooseFolder) {
        // The chooser answers this once, as a person picking the folder would.
        windows::PresetFolderChoice(std::filesystem::absolute(*options.chooseFolder));
        if (!windows::ClickControl(window, kChooseFolderButtonId)) return problem("choose the folder");
    }
    if (!windows::ClickControl(window, kOkButtonId)) return "cannot press OK in the plug-in's settings window";
    return std::nullopt;
}

} // namespace zt::host
