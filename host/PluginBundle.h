// Loading the plug-in: a shared object, or a bundle folder holding one, opened
// with dlopen, and its one exported entry point.
#pragma once

#include <filesystem>

#include "Expected.h"
#include "iTunesAPI.h"

namespace zt::host {

using PluginEntryPoint = OSStatus (*)(OSType message, PluginMessageInfo* messageInfo, void* refCon);

// The name of the entry point every plug-in exports.
inline constexpr const char* kEntryPointName = "iTunesPluginMainMachO";

class PluginBundle {
  public:
    // path: the shared object itself, or the bundle folder, whose shared object
    // is the one its Info.plist names (CFBundleExecutable), else FOLDERNAME.so.
    static Expected<PluginBundle> Load(const std::filesystem::path& path);

    PluginEntryPoint entry() const { return entry_; }
    // The shared object that was loaded (absolute).
    const std::filesystem::path& objectPath() const { return objectPath_; }

  private:
    PluginBundle(std::filesystem::path objectPath, PluginEntryPoint entry)
        : objectPath_(std::move(objectPath)), entry_(entry) {}

    std::filesystem::path objectPath_;
    PluginEntryPoint entry_;
};

// The shared object inside a bundle folder; an error when it has none.
Expected<std::filesystem::path> BundleObjectPath(const std::filesystem::path& folder);

} // namespace zt::host
