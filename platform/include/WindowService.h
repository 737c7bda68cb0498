// What a host or a test does with the toolbox's windows, as a person would:
// find a window, click its check boxes and buttons, pick pop-up items, answer
// the folder chooser. Against GTK these act on the real widgets, so a person's
// click and these calls take the same path; against the display-less model they
// change the model's values. Either way the control hit reaches the installed
// handlers before the call returns. Host's thread only.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "MacWindows.h"

namespace zt::windows {

enum class Backend { Gtk, Model };

// Chosen once per process: GTK when a display can be opened (gtk_init_check),
// else the model; forceModel picks the model. Later calls return the first
// choice. The toolbox calls choose by themselves (without forcing) when no one
// chose before them.
Backend ChooseBackend(bool forceModel = false);

// Makes a bundle folder (holding Info.plist and Resources/) known to
// CFBundleGetBundleWithIdentifier, for programs that link a plug-in's code
// directly instead of loading its bundle. The newest registration wins.
void RegisterBundleFolder(const std::filesystem::path& folder);

// The most recently made window of that object id in its nib, or nullptr.
WindowRef FindWindowNamed(std::string_view nibWindowName);
bool IsWindowShown(WindowRef window);
// The value of the control with that id (any signature); 0 when there is none.
SInt32 ControlValue(WindowRef window, SInt32 controlId);
// A check box toggles, a push button is pressed; false when there is no such
// control or it is a pop-up menu.
bool ClickControl(WindowRef window, SInt32 controlId);
// Picks a pop-up menu's item (1-based); false when there is no such pop-up or item.
bool PickPopUpItem(WindowRef window, SInt32 controlId, int item);
// Closes the window as its title bar would: its Cancel button is pressed (the
// push button with object id "cancel"); a window without one is hidden.
bool CloseWindow(WindowRef window);
// The next folder chooser answers this folder, or cancels for nullopt. Used once.
void PresetFolderChoice(std::optional<std::filesystem::path> folder);

} // namespace zt::windows
