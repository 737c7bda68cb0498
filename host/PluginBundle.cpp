#include "PluginBundle.h"

#include <cctype>
#include <dlfcn.h>
#include <fstream>
#include <sstream>

namespace zt::host {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// CFBundleExecutable from the folder's Info.plist: the <string> right after its
// <key>. Empty when there is none.
std::string ExecutableNamedByInfoPlist(const std::filesystem::path& folder) {
    std::ifstream in(folder / "Info.plist");
    if (!in) return {};
    std::stringstream text;
    text << in.rdbuf();
    const std::string plist = text.str();
    const std::string_view all = plist;

    size_t key = all.find("<key>CFBundleExecutable</key>");
    if (key == std::string_view::npos) return {};
    std::string_view rest = TrimBlanks(all.substr(key + std::string_view("<key>CFBundleExecutable</key>").size()));
    constexpr std::string_view kOpen = "<string>", kClose = "</string>";
    if (rest.substr(0, kOpen.size()) != kOpen) return {};
    rest.remove_prefix(kOpen.size());
    size_t close = rest.find(kClose);
    if (close == std::string_view::npos) return {};
    std::string name(TrimBlanks(rest.substr(0, close)));
    // A name, not a path: the object must sit inside the folder.
    if (name.find('/') != std::string::npos || name == "." || name == "..") return {};
    return name;
}

} // namespace

Expected<std::filesystem::path> BundleObjectPath(const std::filesystem::path& folder) {
    std::error_code ec;
    std::string named = ExecutableNamedByInfoPlist(folder);
    if (!named.empty()) {
        if (std::filesystem::is_regular_file(folder / named, ec)) return folder / named;
        return Failure{"the bundle folder " + folder.string() + " has no " + named +
                       ", which its Info.plist names"};
    }
    std::filesystem::path guess = folder / (folder.filename().stem().string() + ".so");
    if (std::filesystem::is_regular_file(guess, ec)) return guess;
    return Failure{"the bundle folder " + folder.string() + " holds no plug-in (no Info.plist naming one, no " +
                   guess.filename().string() + ")"};
}

Expected<PluginBundle> PluginBundle::Load(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return Failure{"cannot load the plug-in " + path.string() + ": there is no such file or folder"};
    std::filesystem::path object = path;
    if (std::filesystem::is_directory(path, ec)) {
        Expected<std::filesystem::path> inside = BundleObjectPath(path);
        if (!inside) return Failure{"cannot load the plug-in: " + inside.error()};
        object = inside.value();
    }
    object = std::filesystem::absolute(object, ec).lexically_normal();

    dlerror();
    // The library stays loaded for the life of the process, as in any host: the
    // plug-in's statics (its settings window, its locks) outlive its 'clr '.
    void* library = dlopen(object.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        return Failure{"cannot load the plug-in " + object.string() + ": " +
                       (why != nullptr ? why : "unknown dlopen error")};
    }
    void* symbol = dlsym(library, kEntryPointName);
    if (symbol == nullptr) {
        dlclose(library); // nothing of it ran yet
        return Failure{"cannot load the plug-in " + object.string() + ": it does not export " +
                       kEntryPointName};
    }
    return PluginBundle(object, reinterpret_cast<PluginEntryPoint>(symbol));
}

} // namespace zt::host
