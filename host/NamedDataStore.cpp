#include "NamedDataStore.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zt::host {
namespace {

constexpr char kMagic[8] = {'Z', 'T', 'N', 'A', 'M', 'E', 'D', '1'};

uint64_t Fnv1a(std::span<const uint8_t> bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

void PutLittle(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// Reads little-endian integers and byte runs, refusing to run past the end.
class Reader {
  public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool Take(size_t n, std::span<const uint8_t>& out) {
        if (bytes_.size() - at_ < n) return false;
        out = bytes_.subspan(at_, n);
        at_ += n;
        return true;
    }
    bool Little(int n, uint64_t& value) {
        std::span<const uint8_t> raw;
        if (!Take(size_t(n), raw)) return false;
        value = 0;
        for (int i = n - 1; i >= 0; --i) value = (value << 8) | raw[size_t(i)];
        return true;
    }
    size_t remaining() const { return bytes_.size() - at_; }

  private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

std::string ErrnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

// Writes all bytes to fd, through short writes and interruptions.
bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(size_t(n));
    }
    return true;
}

// Makes dir and its parents, private to the user.
bool MakeFolders(const std::filesystem::path& dir, std::string& why) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        why = "cannot make the folder " + dir.string() + ": " + ec.message();
        return false;
    }
    return true;
}

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/tmp";
}

} // namespace

std::vector<uint8_t> EncodeNamedData(
    const std::map<std::string, std::vector<uint8_t>, std::less<>>& entries) {
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    PutLittle(out, entries.size(), 4);
    for (const auto& [name, value] : entries) {
        out.push_back(uint8_t(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        PutLittle(out, value.size(), 4);
        out.insert(out.end(), value.begin(), value.end());
    }
    PutLittle(out, Fnv1a(out), 8);
    return out;
}

std::optional<std::string> DecodeNamedData(
    std::span<const uint8_t> bytes, std::map<std::string, std::vector<uint8_t>, std::less<>>& entries) {
    entries.clear();
    Reader reader(bytes);
    std::span<const uint8_t> magic;
    if (!reader.Take(sizeof kMagic, magic) || std::memcmp(magic.data(), kMagic, sizeof kMagic) != 0)
        return "it is not a named-data file";
    if (bytes.size() < sizeof kMagic + 4 + 8) return "it is cut short";
    uint64_t stored = 0;
    Reader tail(bytes.subspan(bytes.size() - 8));
    tail.Little(8, stored);
    if (Fnv1a(bytes.first(bytes.size() - 8)) != stored) return "its checksum does not match";

    uint64_t count = 0;
    reader.Little(4, count);
    for (uint64_t i = 0; i < count; ++i) {
        std::span<const uint8_t> nameLength, name, value;
        uint64_t size = 0;
        if (!reader.Take(1, nameLength) || !reader.Take(nameLength[0], name) ||
            !reader.Little(4, size) || size > NamedDataStore::kMaxValueSize ||
            !reader.Take(size_t(size), value))
            return "entry " + std::to_string(i + 1) + " is malformed";
        std::string key(name.begin(), name.end());
        if (entries.count(key) != 0) return "a name appears twice";
        entries.emplace(std::move(key), std::vector<uint8_t>(value.begin(), value.end()));
    }
    if (reader.remaining() != 8) return "it has bytes after the last entry";
    return std::nullopt;
}

NamedDataStore NamedDataStore::Open(std::filesystem::path file) {
    NamedDataStore store(std::move(file));
    std::error_code ec;
    if (!std::filesystem::exists(store.file_, ec) && !ec) return store; // nothing stored yet
    std::ifstream in(store.file_, std::ios::binary);
    if (!in) {
        store.loadProblem_ = "cannot read " + store.file_.string();
        return store;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        store.loadProblem_ = "cannot read " + store.file_.string();
        return store;
    }
    std::optional<std::string> damage = DecodeNamedData(bytes, store.entries_);
    if (!damage) return store;

    store.entries_.clear();
    std::filesystem::path aside = store.file_;
    aside += ".damaged";
    std::filesystem::rename(store.file_, aside, ec);
    store.loadProblem_ = "the stored data in " + store.file_.string() + " is damaged (" + *damage +
                         "); " + (ec ? "it is ignored" : "it was moved to " + aside.string()) +
                         " and the plug-in starts without stored data";
    return store;
}

std::optional<std::span<const uint8_t>> NamedDataStore::Get(std::string_view name) const {
    auto found = entries_.find(name);
    if (found == entries_.end()) return std::nullopt;
    return std::span<const uint8_t>(found->second);
}

std::optional<std::string> NamedDataStore::Set(std::string_view name, std::span<const uint8_t> bytes) {
    if (name.size() > kMaxNameSize) return "a name may have at most 255 bytes";
    if (bytes.size() > kMaxValueSize)
        return "a value of " + std::to_string(bytes.size()) + " bytes is more than the " +
               std::to_string(kMaxValueSize) + " a name may hold";
    entries_[std::string(name)] = std::vector<uint8_t>(bytes.begin(), bytes.end());
    return Write();
}

std::optional<std::string> NamedDataStore::Write() const {
    if (file_.empty()) return std::nullopt; // in memory
    std::string why;
    std::filesystem::path folder = file_.parent_path();
    if (!folder.empty() && !MakeFolders(folder, why)) return why;

    std::string temporary = file_.string() + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) return ErrnoText("cannot make a file beside " + file_.string());
    std::vector<uint8_t> bytes = EncodeNamedData(entries_);
    bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        savedErrno = errno;
    }
    if (!written || std::rename(temporary.c_str(), file_.c_str()) != 0) {
        if (written) savedErrno = errno;
        ::unlink(temporary.c_str());
        errno = savedErrno;
        return ErrnoText("cannot write " + file_.string());
    }
    // The rename itself reaches the disk only when the folder is flushed.
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        ::close(dirFd);
    }
    return std::nullopt;
}

std::filesystem::path NamedDataFileFor(std::string_view pluginName) {
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
        config = xdg;
    else
        config = HomeFolder() / ".config";
    std::string fileName;
    for (char c : pluginName) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '.' || c == '-' || c == '_';
        fileName += plain ? c : '_';
    }
    if (fileName.empty() || fileName[0] == '.') fileName.insert(0, "plugin");
    return config / "zoetropica" / (fileName + ".named-data");
}

} // namespace zt::host
