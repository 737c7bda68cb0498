// Nib references and the windows made from them, shown and hidden.
#include <fstream>
#include <sstream>

#include "WindowsLog.h"
#include "WindowsToolbox.h"

using namespace zt::windows;

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef inBundle, CFStringRef inNibName,
                                        IBNibRef* outNibRef) {
    if (outNibRef == nullptr) return paramErr;
    *outNibRef = nullptr;
    if (inBundle == nullptr || inNibName == nullptr) return paramErr;
    try {
        std::filesystem::path path = inBundle->folder / "Resources" / (inNibName->text + ".ui");
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            LogWindowsProblem("no nib %s", path.c_str());
            return kIBCarbonRuntimeCantFindNibFile;
        }
        std::ostringstream all;
        all << in.rdbuf();
        std::string error;
        std::optional<NibDescription> description = ParseNib(all.str(), &error);
        if (!description) {
            LogWindowsProblem("the nib %s cannot be read: %s", path.c_str(), error.c_str());
            return kIBCarbonRuntimeCantFindNibFile;
        }
        *outNibRef = new OpaqueIBNibRef{all.str(), std::move(*description)};
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    } catch (const std::exception& problem) {
        LogWindowsProblem("opening a nib: %s", problem.what());
        return kIBCarbonRuntimeCantFindNibFile;
    }
}

void DisposeNibReference(IBNibRef inNibRef) {
    delete inNibRef;
}

OSStatus CreateWindowFromNib(IBNibRef inNibRef, CFStringRef inName, WindowRef* outWindow) {
    if (outWindow == nullptr) return paramErr;
    *outWindow = nullptr;
    if (inNibRef == nullptr || inName == nullptr) return paramErr;
    const WindowSpec* spec = inNibRef->description.Find(inName->text);
    if (spec == nullptr) {
        LogWindowsProblem("the nib holds no window %s", inName->text.c_str());
        return kIBCarbonRuntimeCantFindObject;
    }
    try {
        auto window = std::make_unique<OpaqueWindowPtr>();
        window->name = spec->objectId;
        for (const ControlSpec& controlSpec : spec->controls) {
            auto control = std::make_unique<OpaqueControlRef>();
            control->owner = window.get();
            control->id = controlSpec.id;
            control->kind = controlSpec.kind;
            control->objectId = controlSpec.objectId;
            control->maximum = controlSpec.kind == ControlKind::CheckBox ? 1
                               : controlSpec.kind == ControlKind::PopUp
                                   ? SInt32(controlSpec.items.size())
                                   : 0;
            control->modelValue = controlSpec.initialValue;
            window->controls.push_back(std::move(control));
        }
        OSStatus status = ActiveBackend().Build(*inNibRef, *window);
        if (status != noErr) return status;
        Toolbox().windows.push_back(std::move(window));
        *outWindow = Toolbox().windows.back().get();
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

void ShowWindow(WindowRef window) {
    if (window != nullptr) ActiveBackend().Show(*window);
}

void HideWindow(WindowRef window) {
    if (window != nullptr) ActiveBackend().Hide(*window);
}
