// Bundle lookup by identifier: folders the host registered, then the folders of
// the shared objects this process has loaded, each with an Info.plist naming
// its identifier.
#include <glib.h>
#include <link.h>

#include <fstream>
#include <sstream>

#include "WindowsLog.h"
#include "WindowsToolbox.h"

namespace zt::windows {
namespace {

// The CFBundleIdentifier of an Info.plist: the <string> right after that <key>.
struct PlistState {
    std::string element;
    std::string text;
    std::string lastKey;
    std::optional<std::string> identifier;
};

void PlistStart(GMarkupParseContext*, const gchar* element, const gchar**, const gchar**,
                gpointer userData, GError**) {
    auto& state = *static_cast<PlistState*>(userData);
    state.element = element;
    state.text.clear();
}

void PlistEnd(GMarkupParseContext*, const gchar* element, gpointer userData, GError**) {
    auto& state = *static_cast<PlistState*>(userData);
    std::string_view name = element;
    if (name == "key") {
        state.lastKey = state.text;
        return;
    }
    if (name == "string" && state.lastKey == "CFBundleIdentifier" && !state.identifier)
        state.identifier = state.text;
    state.lastKey.clear();
}

void PlistText(GMarkupParseContext*, const gchar* text, gsize length, gpointer userData, GError**) {
    static_cast<PlistState*>(userData)->text.append(text, length);
}

std::optional<std::string> IdentifierOfFolder(const std::filesystem::path& folder) {
    std::ifstream in(folder / "Info.plist", std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    static const GMarkupParser parser = {PlistStart, PlistEnd, PlistText, nullptr, nullptr};
    PlistState state;
    GMarkupParseContext* context =
        g_markup_parse_context_new(&parser, GMarkupParseFlags(0), &state, nullptr);
    bool ok = g_markup_parse_context_parse(context, text.data(), gssize(text.size()), nullptr) &&
              g_markup_parse_context_end_parse(context, nullptr);
    g_markup_parse_context_free(context);
    if (!ok) return std::nullopt;
    return state.identifier;
}

int CollectObjectFolder(dl_phdr_info* info, size_t, void* data) {
    auto& folders = *static_cast<std::vector<std::filesystem::path>*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
    std::filesystem::path folder = std::filesystem::path(info->dlpi_name).parent_path();
    folders.push_back(folder);
    folders.push_back(folder.parent_path());
    return 0;
}

// The folders to try, in order: registered (newest first), then loaded objects'.
std::vector<std::filesystem::path> CandidateFolders(const WindowsToolbox& toolbox) {
    std::vector<std::filesystem::path> folders(toolbox.registeredFolders.rbegin(),
                                               toolbox.registeredFolders.rend());
    dl_iterate_phdr(CollectObjectFolder, &folders);
    return folders;
}

} // namespace

void RegisterBundleFolder(const std::filesystem::path& folder) {
    WindowsToolbox& toolbox = Toolbox();
    std::lock_guard lock(toolbox.registryLock);
    toolbox.registeredFolders.push_back(std::filesystem::absolute(folder));
}

} // namespace zt::windows

using namespace zt::windows;

CFStringRef ZTMakeConstantString(const char* text) {
    if (text == nullptr) return nullptr;
    WindowsToolbox& toolbox = Toolbox();
    std::lock_guard lock(toolbox.registryLock);
    auto found = toolbox.strings.find(std::string_view(text));
    if (found != toolbox.strings.end()) return found->second.get();
    auto made = std::make_unique<OpaqueCFString>(OpaqueCFString{text});
    CFStringRef result = made.get();
    toolbox.strings.emplace(text, std::move(made));
    return result;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
    if (bundleID == nullptr) return nullptr;
    try {
        WindowsToolbox& toolbox = Toolbox();
        std::lock_guard lock(toolbox.registryLock);
        for (const std::filesystem::path& folder : CandidateFolders(toolbox)) {
            if (IdentifierOfFolder(folder) != bundleID->text) continue;
            for (const auto& bundle : toolbox.bundles)
                if (bundle->folder == folder) return bundle.get();
            toolbox.bundles.push_back(
                std::make_unique<OpaqueCFBundle>(OpaqueCFBundle{folder, bundleID->text}));
            return toolbox.bundles.back().get();
        }
    } catch (const std::exception& problem) {
        LogWindowsProblem("looking for the bundle %s: %s", bundleID->text.c_str(), problem.what());
    }
    return nullptr;
}
