#include "LongPath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>

namespace zt::files {

namespace {
// Pieces handed to one openat stay well below PATH_MAX.
constexpr size_t kPieceLimit = PATH_MAX / 2;

int OpenAt(int dirFd, std::string_view piece, int flags) {
    std::string text(piece);
    return ::openat(dirFd, text.c_str(), flags | O_CLOEXEC);
}
} // namespace

UniqueFd OpenPath(std::string_view path, int flags) {
    if (path.empty()) {
        errno = ENOENT;
        return UniqueFd();
    }
    if (path.size() < kPieceLimit) return UniqueFd(OpenAt(AT_FDCWD, path, flags));

    // Walk the leading folders in pieces that end at a slash, then open the rest.
    UniqueFd dir;
    size_t start = 0;
    while (path.size() - start >= kPieceLimit) {
        size_t cut = path.rfind('/', start + kPieceLimit - 1);
        if (cut == std::string_view::npos || cut < start) {
            errno = ENAMETOOLONG; // one name longer than any file system allows
            return UniqueFd();
        }
        // A leading slash is a piece of its own: the root.
        std::string_view piece = cut == start ? path.substr(start, 1) : path.substr(start, cut - start);
        int next = OpenAt(dir ? dir.Get() : AT_FDCWD, piece, O_PATH | O_DIRECTORY);
        if (next < 0) return UniqueFd();
        dir.Reset(next);
        start = cut + 1;
        while (start < path.size() && path[start] == '/') ++start;
    }
    std::string_view rest = path.substr(start);
    if (rest.empty()) rest = ".";
    return UniqueFd(OpenAt(dir ? dir.Get() : AT_FDCWD, rest, flags));
}

bool StatPath(std::string_view path, struct stat& info) {
    UniqueFd fd = OpenPath(path, O_PATH);
    return fd && ::fstat(fd.Get(), &info) == 0;
}

std::optional<std::vector<FolderItem>> ListFolder(std::string_view path) {
    UniqueFd fd = OpenPath(path, O_RDONLY | O_DIRECTORY);
    if (!fd) return std::nullopt;
    int dirFd = fd.Get();
    DIR* dir = ::fdopendir(dirFd);
    if (dir == nullptr) return std::nullopt;
    fd.Release(); // the DIR owns it now
    std::vector<FolderItem> items;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            isFolder = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        items.push_back({std::string(name), isFolder});
    }
    ::closedir(dir);
    // std::string compares as unsigned bytes (char_traits<char>::compare uses memcmp).
    std::sort(items.begin(), items.end(),
              [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    return items;
}

} // namespace zt::files
