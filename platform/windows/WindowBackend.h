// A backend of the window toolkit: GTK 3 widgets, or the display-less model.
// The toolbox calls do the bookkeeping (windows, controls, handlers) and ask the
// backend only for what a display changes.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "ToolboxObjects.h"

namespace zt::windows {

// A folder chooser's answer: noErr with the folder, userCanceledErr, or another error.
struct FolderAnswer {
    OSStatus status = userCanceledErr;
    std::filesystem::path folder;
};

// A preset answer for the next chooser: a folder, or nullopt to cancel.
using FolderPreset = std::optional<std::filesystem::path>;

class WindowBackend {
  public:
    virtual ~WindowBackend() = default;
    // Binds a new window (its controls already listed from the nib) to whatever
    // shows it. The window is hidden afterwards.
    virtual OSStatus Build(const OpaqueIBNibRef& nib, OpaqueWindowPtr& window) = 0;
    virtual void Show(OpaqueWindowPtr& window) = 0;
    virtual void Hide(OpaqueWindowPtr& window) = 0;
    virtual bool IsShown(const OpaqueWindowPtr& window) = 0;
    // What the title bar's close does: the window's "cancel" button is pressed
    // (its hit delivered before this returns); without one the window hides.
    virtual void Close(OpaqueWindowPtr& window) = 0;
    virtual SInt32 Value(const OpaqueControlRef& control) = 0;
    // Sets a value in range without delivering a control hit.
    virtual void SetValueQuietly(OpaqueControlRef& control, SInt32 value) = 0;
    // What a person does: a check box or pop-up takes the value (in range), a
    // button is pressed; the control hit is delivered before this returns.
    virtual void ActAsPerson(OpaqueControlRef& control, SInt32 value) = 0;
    // Runs a folder chooser; with a preset, the chooser answers it by itself.
    virtual FolderAnswer ChooseFolder(const NavDialogOptions& options,
                                      std::optional<FolderPreset> preset) = 0;
};

std::unique_ptr<WindowBackend> MakeModelBackend();
std::unique_ptr<WindowBackend> MakeGtkBackend(); // gtk_init_check has succeeded

} // namespace zt::windows
