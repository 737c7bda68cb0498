// Opening, inspecting and listing by path, for paths of any length: a path
// longer than the kernel takes in one call is walked in pieces with openat.
#pragma once

#include "UniqueFd.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace zt::files {

// Opens an absolute or relative path with open(2) flags (O_CLOEXEC is added).
// An invalid descriptor with errno set on failure.
UniqueFd OpenPath(std::string_view path, int flags);

// stat(2) for a path of any length; errno set on failure.
bool StatPath(std::string_view path, struct stat& info);

struct FolderItem {
    std::string name;
    bool isFolder = false;
};

// The folder's own items (no "." or ".."), sorted byte-wise by name; nullopt
// with errno set when the folder cannot be read.
std::optional<std::vector<FolderItem>> ListFolder(std::string_view path);

} // namespace zt::files
