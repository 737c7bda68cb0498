#include "TextCache.h"

#include "LongPath.h"
#include "MoviesLog.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zt::movies {

namespace {

// Bump the version when the cleaning or folding of samples changes.
constexpr char kMagic[8] = {'Z', 'T', 'T', 'X', 'T', '0', '0', '1'};

std::string CacheFolder(bool create) {
    std::string base;
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        base = cache;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            passwd* user = ::getpwuid(::getuid());
            home = user != nullptr ? user->pw_dir : nullptr;
        }
        if (home == nullptr || home[0] != '/') return {};
        base = std::string(home) + "/.cache";
    }
    std::string folder = base + "/zoetropica/text";
    if (create) {
        for (size_t i = 1; i <= folder.size(); ++i) {
            if (i != folder.size() && folder[i] != '/') continue;
            if (::mkdir(folder.substr(0, i).c_str(), 0700) != 0 && errno != EEXIST) return {};
        }
    }
    return folder;
}

std::string FileNameFor(const std::string& path) {
    uint64_t h = 14695981039346656037ull; // FNV-1a, 64 bits
    for (unsigned char c : path) h = (h ^ c) * 1099511628211ull;
    char name[24];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(h));
    return name;
}

class Writer {
  public:
    template <typename T> void Put(const T& value) { data_.append(reinterpret_cast<const char*>(&value), sizeof value); }
    void PutBytes(const std::string& bytes) {
        Put(UInt32(bytes.size()));
        data_.append(bytes);
    }
    std::string& Data() { return data_; }

  private:
    std::string data_;
};

class Reader {
  public:
    explicit Reader(std::string_view data) : data_(data) {}
    template <typename T> bool Get(T& value) {
        if (data_.size() - at_ < sizeof value) return false;
        std::memcpy(&value, data_.data() + at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    bool GetBytes(std::string& bytes) {
        UInt32 size = 0;
        if (!Get(size) || data_.size() - at_ < size) return false;
        bytes.assign(data_.data() + at_, size);
        at_ += size;
        return true;
    }
    bool AtEnd() const { return at_ == data_.size(); }

  private:
    std::string_view data_;
    size_t at_ = 0;
};

// Offsets within the buffers, ascending, and every text ending in its NUL byte.
bool IsConsistent(const TrackText& track) {
    UInt32 plain = 0, folded = 0;
    for (const TextSample& s : track.samples) {
        if (s.plainOffset < plain || s.foldedOffset < folded) return false;
        if (s.plainOffset >= track.plain.size() || s.foldedOffset >= track.folded.size()) return false;
        plain = s.plainOffset + 1;
        folded = s.foldedOffset + 1;
    }
    return track.plain.empty() ? track.samples.empty() : track.plain.back() == '\0' && track.folded.back() == '\0';
}

} // namespace

std::string TextCacheFile(const std::string& path) {
    std::string folder = CacheFolder(false);
    return folder.empty() ? folder : folder + "/" + FileNameFor(path);
}

std::optional<std::vector<TrackText>> ReadTextCache(const TextCacheKey& key, const std::vector<int>& streams) {
    std::string file = TextCacheFile(key.path);
    if (file.empty()) return std::nullopt;
    files::UniqueFd fd = files::OpenPath(file, O_RDONLY);
    if (!fd) return std::nullopt;
    std::string data;
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd.Get(), buffer, sizeof buffer)) > 0) data.append(buffer, size_t(got));
    if (data.size() < sizeof kMagic || std::memcmp(data.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    Reader in(std::string_view(data).substr(sizeof kMagic));
    std::string path;
    int64_t size = 0, modified = 0;
    UInt32 count = 0;
    if (!in.GetBytes(path) || !in.Get(size) || !in.Get(modified) || !in.Get(count)) return std::nullopt;
    if (path != key.path || size != key.size || modified != key.modifiedNs || count != streams.size())
        return std::nullopt;
    std::vector<TrackText> tracks(count);
    for (UInt32 t = 0; t < count; ++t) {
        TrackText& track = tracks[t];
        UInt32 samples = 0;
        if (!in.Get(track.streamIndex) || track.streamIndex != streams[t] || !in.Get(samples)) return std::nullopt;
        if (samples > data.size() / sizeof(TextSample)) return std::nullopt;
        track.samples.resize(samples);
        for (TextSample& s : track.samples)
            if (!in.Get(s)) return std::nullopt;
        if (!in.GetBytes(track.plain) || !in.GetBytes(track.folded) || !IsConsistent(track)) return std::nullopt;
    }
    if (!in.AtEnd()) return std::nullopt;
    return tracks;
}

void WriteTextCache(const TextCacheKey& key, const std::vector<TrackText>& tracks) {
    std::string folder = CacheFolder(true);
    if (folder.empty()) return;
    Writer out;
    out.Data().append(kMagic, sizeof kMagic);
    out.PutBytes(key.path);
    out.Put(key.size);
    out.Put(key.modifiedNs);
    out.Put(UInt32(tracks.size()));
    for (const TrackText& track : tracks) {
        out.Put(track.streamIndex);
        out.Put(UInt32(track.samples.size()));
        for (const TextSample& s : track.samples) out.Put(s);
        out.PutBytes(track.plain);
        out.PutBytes(track.folded);
    }
    std::string file = folder + "/" + FileNameFor(key.path);
    char temporary[64];
    std::snprintf(temporary, sizeof temporary, ".tmp.%d.%lx", int(::getpid()),
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(&tracks)));
    std::string temporaryFile = file + temporary;
    files::UniqueFd fd(::open(temporaryFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    const std::string& data = out.Data();
    size_t done = 0;
    while (fd && done < data.size()) {
        ssize_t n = ::write(fd.Get(), data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
    fd.Reset();
    if (done != data.size() || ::rename(temporaryFile.c_str(), file.c_str()) != 0) {
        LogMoviesProblem("cannot write the text cache %s", file.c_str());
        ::unlink(temporaryFile.c_str());
    }
}

} // namespace zt::movies
