// Every host test process keeps the platform's catalog, caches and the plug-in
// settings in folders of its own, never in the user's.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct PrivateXdgFolders {
    std::filesystem::path root;
    PrivateXdgFolders() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zt-host-xdg-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        root = pattern;
        for (const char* name : {"XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"}) {
            std::filesystem::path folder = root / name;
            std::filesystem::create_directory(folder);
            setenv(name, folder.c_str(), 1);
        }
    }
    ~PrivateXdgFolders() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

const PrivateXdgFolders gPrivateFolders;

} // namespace
