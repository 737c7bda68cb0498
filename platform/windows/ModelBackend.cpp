// The display-less backend: the window is its model (controls, ids, values) as
// read from the nib; nothing is shown. A folder chooser answers its preset, or
// cancels when there is none (no person can answer it).
#include "WindowsToolbox.h"

namespace zt::windows {
namespace {

class ModelBackend final : public WindowBackend {
  public:
    OSStatus Build(const OpaqueIBNibRef&, OpaqueWindowPtr& window) override {
        window.shown = false;
        return noErr;
    }
    void Show(OpaqueWindowPtr& window) override { window.shown = true; }
    void Hide(OpaqueWindowPtr& window) override { window.shown = false; }
    bool IsShown(const OpaqueWindowPtr& window) override { return window.shown; }
    void Close(OpaqueWindowPtr& window) override {
        if (OpaqueControlRef* cancel = window.ControlWithObjectId("cancel"))
            ActAsPerson(*cancel, 0);
        else
            Hide(window);
    }
    SInt32 Value(const OpaqueControlRef& control) override { return control.modelValue; }
    void SetValueQuietly(OpaqueControlRef& control, SInt32 value) override {
        control.modelValue = value;
    }
    void ActAsPerson(OpaqueControlRef& control, SInt32 value) override {
        if (control.kind != ControlKind::PushButton) control.modelValue = value;
        DeliverControlHit(control);
    }
    FolderAnswer ChooseFolder(const NavDialogOptions&,
                              std::optional<FolderPreset> preset) override {
        if (!preset || !*preset) return {userCanceledErr, {}};
        return {noErr, **preset};
    }
};

} // namespace

std::unique_ptr<WindowBackend> MakeModelBackend() {
    return std::make_unique<ModelBackend>();
}

} // namespace zt::windows
