#include "Catalog.h"

#include "FilesLog.h"
#include "LongPath.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zt::files {

namespace {

// File layout: the magic, then records of id (4 bytes), kind (1: folder),
// path length (4 bytes) and the path's bytes, in native byte order.
constexpr char kMagic[8] = {'Z', 'T', 'C', 'A', 'T', 'L', 'G', '1'};
constexpr UInt32 kMaxPathBytes = 1u << 20;
constexpr UInt32 kFirstHashedNode = 16;

UInt32 HashOf(std::string_view path) {
    UInt32 h = 2166136261u; // FNV-1a
    for (unsigned char c : path) h = (h ^ c) * 16777619u;
    return h < kFirstHashedNode ? h + kFirstHashedNode : h;
}

struct Record {
    UInt32 id;
    bool isFolder;
    std::string path;
};

// The records of a catalog file; an unreadable tail is dropped with a log line.
std::vector<Record> ReadRecords(const std::string& file) {
    std::vector<Record> records;
    UniqueFd fd = OpenPath(file, O_RDONLY);
    if (!fd) return records;
    std::string data;
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd.Get(), buffer, sizeof buffer)) > 0) data.append(buffer, size_t(got));
    if (data.size() < sizeof kMagic || std::memcmp(data.data(), kMagic, sizeof kMagic) != 0) {
        if (!data.empty()) LogFilesProblem("catalog %s is not a catalog; starting afresh", file.c_str());
        return records;
    }
    size_t at = sizeof kMagic;
    while (at < data.size()) {
        Record r{};
        UInt8 kind = 0;
        UInt32 length = 0;
        if (data.size() - at < 9) break;
        std::memcpy(&r.id, data.data() + at, 4);
        kind = UInt8(data[at + 4]);
        std::memcpy(&length, data.data() + at + 5, 4);
        at += 9;
        if (length == 0 || length > kMaxPathBytes || data.size() - at < length || r.id < kFirstHashedNode)
            break;
        r.isFolder = kind == 1;
        r.path.assign(data.data() + at, length);
        at += length;
        records.push_back(std::move(r));
    }
    if (at != data.size()) LogFilesProblem("catalog %s has a damaged tail; it was dropped", file.c_str());
    return records;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

bool MakeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i != path.size() && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

} // namespace

Catalog& Catalog::Instance() {
    // Never destroyed: references may be resolved from other objects' destructors at exit.
    alignas(Catalog) static unsigned char storage[sizeof(Catalog)];
    static Catalog* catalog = new (storage) Catalog;
    return *catalog;
}

std::optional<std::string> Catalog::FolderLocked(bool create) const {
    std::string base;
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            passwd* user = ::getpwuid(::getuid());
            home = user != nullptr ? user->pw_dir : nullptr;
        }
        if (home == nullptr || home[0] != '/') return std::nullopt;
        base = std::string(home) + "/.local/state";
    }
    std::string folder = base + "/zoetropica";
    if (create && !MakeFolders(folder)) return std::nullopt;
    return folder;
}

void Catalog::AddLocked(UInt32 id, std::string path, bool isFolder) {
    byPath_[path] = id;
    byId_[id] = Entry{std::move(path), isFolder};
}

void Catalog::LoadLocked() {
    loaded_ = true;
    std::optional<std::string> folder = FolderLocked(false);
    if (!folder) return;
    for (Record& r : ReadRecords(*folder + "/catalog")) {
        if (byId_.count(r.id) != 0 || byPath_.count(r.path) != 0) continue;
        AddLocked(r.id, std::move(r.path), r.isFolder);
    }
}

UInt32 Catalog::IdFor(const std::string& path, bool isFolder) {
    if (path == "/") return kRootNode;
    std::lock_guard lock(mutex_);
    if (!loaded_) LoadLocked();
    if (auto found = byPath_.find(path); found != byPath_.end()) {
        byId_[found->second].isFolder = isFolder;
        return found->second;
    }
    UInt32 id = HashOf(path);
    while (byId_.count(id) != 0) id = id == 0xFFFFFFFFu ? kFirstHashedNode : id + 1;
    AddLocked(id, path, isFolder);
    dirty_ = true;
    return id;
}

std::optional<std::string> Catalog::PathOf(UInt32 id) {
    if (id == kRootNode) return std::string("/");
    std::lock_guard lock(mutex_);
    if (!loaded_) LoadLocked();
    auto found = byId_.find(id);
    if (found == byId_.end()) {
        // Another process may have saved it since we loaded.
        LoadLocked();
        found = byId_.find(id);
        if (found == byId_.end()) return std::nullopt;
    }
    return found->second.path;
}

void Catalog::Save() {
    std::lock_guard lock(mutex_);
    if (!dirty_) return;
    std::optional<std::string> folder = FolderLocked(true);
    if (!folder) {
        if (!warnedUnsaved_) LogFilesProblem("no state folder: references last until exit only");
        warnedUnsaved_ = true;
        return;
    }
    std::string file = *folder + "/catalog";
    UniqueFd lockFd(::open((*folder + "/catalog.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lockFd) ::flock(lockFd.Get(), LOCK_EX); // released when lockFd closes

    // Take in what other processes saved meanwhile, then drop files that are gone.
    for (Record& r : ReadRecords(file)) {
        if (byId_.count(r.id) != 0 || byPath_.count(r.path) != 0) continue;
        AddLocked(r.id, std::move(r.path), r.isFolder);
    }
    std::string data(kMagic, sizeof kMagic);
    for (auto it = byId_.begin(); it != byId_.end();) {
        struct stat info {};
        if (!it->second.isFolder && !StatPath(it->second.path, info) && errno == ENOENT) {
            byPath_.erase(it->second.path);
            it = byId_.erase(it);
            continue;
        }
        UInt32 length = UInt32(it->second.path.size());
        char head[9];
        std::memcpy(head, &it->first, 4);
        head[4] = it->second.isFolder ? 1 : 0;
        std::memcpy(head + 5, &length, 4);
        data.append(head, 9);
        data.append(it->second.path);
        ++it;
    }

    std::string temporary = file + ".tmp." + std::to_string(::getpid());
    UniqueFd out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    bool ok = out && WriteAll(out.Get(), data) && ::fsync(out.Get()) == 0;
    out.Reset();
    ok = ok && ::rename(temporary.c_str(), file.c_str()) == 0;
    if (!ok) {
        LogFilesProblem("cannot save catalog %s: %s", file.c_str(), std::strerror(errno));
        ::unlink(temporary.c_str());
        return;
    }
    if (UniqueFd dir(::open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir) ::fsync(dir.Get());
    dirty_ = false;
}

void Catalog::Reload() {
    std::lock_guard lock(mutex_);
    byId_.clear();
    byPath_.clear();
    dirty_ = false;
    warnedUnsaved_ = false;
    LoadLocked();
}

std::string NormalPath(std::string_view path) {
    std::string absolute;
    if (path.empty()) return absolute;
    if (path[0] != '/') {
        std::vector<char> cwd(4096);
        while (::getcwd(cwd.data(), cwd.size()) == nullptr) {
            if (errno != ERANGE) return absolute;
            cwd.resize(cwd.size() * 2);
        }
        absolute = cwd.data();
        absolute += '/';
    }
    absolute.append(path);
    // Rebuild from the names, resolving "." and ".." by the text alone.
    std::vector<std::string_view> names;
    std::string_view rest = absolute;
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view name = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        names.push_back(name);
    }
    std::string normal;
    for (std::string_view name : names) {
        normal += '/';
        normal.append(name);
    }
    return normal.empty() ? std::string("/") : normal;
}

std::string ParentPath(const std::string& normalPath) {
    size_t slash = normalPath.rfind('/');
    if (slash == 0 || slash == std::string::npos) return "/";
    return normalPath.substr(0, slash);
}

std::string LastName(const std::string& normalPath) {
    size_t slash = normalPath.rfind('/');
    return slash == std::string::npos ? normalPath : normalPath.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path.append(name);
    return path;
}

} // namespace zt::files
