// The window toolkit's state: the chosen backend, the bundles, the windows and
// the constant strings. It lives as long as the process (never destroyed, so
// references stay valid through exit). Everything but the strings and bundles is
// touched only on the host's thread; those two are guarded by registryLock.
#pragma once

#include <map>
#include <mutex>

#include "WindowBackend.h"
#include "WindowService.h"

namespace zt::windows {

struct WindowsToolbox {
    std::mutex backendLock;
    std::optional<Backend> chosen;
    std::unique_ptr<WindowBackend> backend;

    std::mutex registryLock;
    std::map<std::string, std::unique_ptr<OpaqueCFString>, std::less<>> strings;
    std::vector<std::unique_ptr<OpaqueCFBundle>> bundles;
    std::vector<std::filesystem::path> registeredFolders; // newest last

    std::vector<std::unique_ptr<OpaqueWindowPtr>> windows; // in order of making
    std::optional<FolderPreset> folderPreset;
};

WindowsToolbox& Toolbox();
// The chosen backend, choosing one (without forcing) when no one has.
WindowBackend& ActiveBackend();

// Hands a control hit to the handlers installed on the control's window.
void DeliverControlHit(OpaqueControlRef& control);

} // namespace zt::windows
