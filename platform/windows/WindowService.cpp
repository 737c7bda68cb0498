// What a person does with a window, for hosts and tests.
#include "WindowService.h"

#include "WindowsToolbox.h"

namespace zt::windows {

WindowRef FindWindowNamed(std::string_view nibWindowName) {
    auto& windows = Toolbox().windows;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->name == nibWindowName) return it->get();
    return nullptr;
}

bool IsWindowShown(WindowRef window) {
    return window != nullptr && ActiveBackend().IsShown(*window);
}

SInt32 ControlValue(WindowRef window, SInt32 controlId) {
    if (window == nullptr) return 0;
    OpaqueControlRef* control = window->ControlWithId(controlId);
    return control == nullptr ? 0 : ActiveBackend().Value(*control);
}

bool ClickControl(WindowRef window, SInt32 controlId) {
    if (window == nullptr) return false;
    OpaqueControlRef* control = window->ControlWithId(controlId);
    if (control == nullptr || control->kind == ControlKind::PopUp) return false;
    WindowBackend& backend = ActiveBackend();
    SInt32 toggled = control->kind == ControlKind::CheckBox ? 1 - backend.Value(*control) : 0;
    backend.ActAsPerson(*control, toggled);
    return true;
}

bool PickPopUpItem(WindowRef window, SInt32 controlId, int item) {
    if (window == nullptr) return false;
    OpaqueControlRef* control = window->ControlWithId(controlId);
    if (control == nullptr || control->kind != ControlKind::PopUp || item < 1 ||
        item > control->maximum)
        return false;
    ActiveBackend().ActAsPerson(*control, item);
    return true;
}

bool CloseWindow(WindowRef window) {
    if (window == nullptr) return false;
    ActiveBackend().Close(*window);
    return true;
}

void PresetFolderChoice(std::optional<std::filesystem::path> folder) {
    Toolbox().folderPreset.emplace(std::move(folder));
}

} // namespace zt::windows
