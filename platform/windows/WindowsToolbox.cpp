#include "WindowsToolbox.h"

#include <gtk/gtk.h>

#include <new>

namespace zt::windows {

WindowsToolbox& Toolbox() {
    alignas(WindowsToolbox) static unsigned char storage[sizeof(WindowsToolbox)];
    static WindowsToolbox* toolbox = new (storage) WindowsToolbox;
    return *toolbox;
}

Backend ChooseBackend(bool forceModel) {
    WindowsToolbox& toolbox = Toolbox();
    std::lock_guard lock(toolbox.backendLock);
    if (toolbox.chosen) return *toolbox.chosen;
    if (!forceModel && gtk_init_check(nullptr, nullptr)) {
        toolbox.backend = MakeGtkBackend();
        toolbox.chosen = Backend::Gtk;
    } else {
        toolbox.backend = MakeModelBackend();
        toolbox.chosen = Backend::Model;
    }
    return *toolbox.chosen;
}

WindowBackend& ActiveBackend() {
    ChooseBackend(false);
    return *Toolbox().backend;
}

} // namespace zt::windows

OpaqueControlRef* OpaqueWindowPtr::ControlWithId(SInt32 id) const {
    for (const auto& control : controls)
        if (control->id.id == id) return control.get();
    return nullptr;
}

OpaqueControlRef* OpaqueWindowPtr::ControlWithObjectId(std::string_view objectId) const {
    for (const auto& control : controls)
        if (control->objectId == objectId) return control.get();
    return nullptr;
}
