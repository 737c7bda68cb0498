// The bundle exports exactly its promised interface.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
    std::set<std::string> names;
    std::string command = "nm -D --defined-only '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        auto space = text.rfind(' ');
        if (space != std::string::npos) names.insert(text.substr(space + 1));
    }
    pclose(pipe);
    return names;
}

TEST(Exports, BundleExportsItsInterfaceAndNothingElse) {
    auto names = DefinedDynamicSymbols(ZT_BUNDLE_SO);
    ASSERT_FALSE(names.empty()) << "nm found no symbols in " << ZT_BUNDLE_SO;

    for (const char* required :
         {"iTunesPluginMainMachO", "ITCallApplication", "SetNumVersion", "PlayerIdle",
          "PlayerShowAbout", "PlayerOpenURL", "PlayerSetFullScreen", "PlayerSetFullScreenOptions",
          "PlayerGetPluginData", "PlayerSetPluginData", "PlayerGetPluginNamedData",
          "PlayerSetPluginNamedData", "PlayerUnregisterPlugin", "PlayerRegisterVisualPlugin",
          "PlayerRegisterDevicePlugin", "PlayerSetDeviceSerialNumber", "PlayerHandleMacOSEvent",
          "PlayerGetPluginFileSpec", "QDMP_Init"})
        EXPECT_TRUE(names.count(required)) << required << " is not exported";

    auto allowed = [](const std::string& name) {
        auto startsWith = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
        return name == "iTunesPluginMainMachO" || name == "ITCallApplication" ||
               name == "SetNumVersion" || name == "settingsControlHandler" ||
               startsWith("Player") || startsWith("QDMP_");
    };
    for (const auto& name : names)
        EXPECT_TRUE(allowed(name)) << name << " is exported but should not be";

    for (const char* local : {"VisualPluginHandler", "RegisterVisualPlugin", "MemClear"})
        EXPECT_FALSE(names.count(local)) << local << " must stay local";
}

} // namespace
