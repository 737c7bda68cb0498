#include "ProgramPaths.h"

namespace zt::host {

ProgramPaths FindProgramPaths() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::filesystem::path exeFolder = exe.parent_path();
    bool inBuildTree =
        ec || std::filesystem::equivalent(exeFolder, ZT_BUILD_BIN_DIR, ec) || exe.empty();
    if (inBuildTree) return {ZT_BUILT_BUNDLE_DIR, ZT_BUILT_DEMO_DIR};
    // Installed: PREFIX/bin/zoetropica beside PREFIX/lib/... and PREFIX/share/...
    std::filesystem::path prefix = exeFolder.parent_path();
    return {prefix / ZT_INSTALLED_BUNDLE_DIR, prefix / ZT_INSTALLED_DEMO_DIR};
}

} // namespace zt::host
