#include "MovieFiles.h"

#include "FileRefs.h"
#include "LongPath.h"
#include "Movies.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <vector>

namespace zt::movies {

namespace {

struct OpenFile {
    files::UniqueFd fd;
    std::string path;
};

struct OpenFiles {
    std::mutex mutex;
    std::vector<std::optional<OpenFile>> slots; // reference number = index + 1
};

OpenFiles& Table() {
    alignas(OpenFiles) static unsigned char storage[sizeof(OpenFiles)];
    static OpenFiles* table = new (storage) OpenFiles;
    return *table;
}

constexpr size_t kMaxOpenFiles = 32767;

OSErr ErrorOfErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG: return fnfErr;
    case EACCES:
    case EPERM: return permErr;
    case EMFILE:
    case ENFILE: return tmfoErr;
    case ENOMEM: return memFullErr;
    default: return ioErr;
    }
}

} // namespace

std::optional<OpenMovieFileInfo> FindOpenMovieFile(SInt16 refNum) {
    OpenFiles& table = Table();
    std::lock_guard lock(table.mutex);
    if (refNum <= 0 || size_t(refNum) > table.slots.size() || !table.slots[size_t(refNum) - 1]) return std::nullopt;
    const OpenFile& file = *table.slots[size_t(refNum) - 1];
    return OpenMovieFileInfo{file.fd.Get(), file.path};
}

} // namespace zt::movies

OSErr OpenMovieFile(const FSSpec* fileSpec, SInt16* resRefNum, SInt8 /*permission*/) {
    using namespace zt;
    if (resRefNum != nullptr) *resRefNum = 0;
    if (fileSpec == nullptr || resRefNum == nullptr) return paramErr;
    try {
        std::optional<std::string> path = files::PathOfSpec(*fileSpec);
        if (!path) return fnfErr;
        // Non-blocking, so that a named pipe cannot hang the open; it is refused below.
        files::UniqueFd fd = files::OpenPath(*path, O_RDONLY | O_NONBLOCK);
        if (!fd) return movies::ErrorOfErrno(errno);
        struct stat info {};
        if (::fstat(fd.Get(), &info) != 0) return movies::ErrorOfErrno(errno);
        if (!S_ISREG(info.st_mode)) return notAFileErr;
        ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);

        movies::OpenFiles& table = movies::Table();
        std::lock_guard lock(table.mutex);
        size_t slot = 0;
        while (slot < table.slots.size() && table.slots[slot]) ++slot;
        if (slot == movies::kMaxOpenFiles) return tmfoErr;
        if (slot == table.slots.size()) table.slots.emplace_back();
        table.slots[slot] = movies::OpenFile{std::move(fd), std::move(*path)};
        *resRefNum = SInt16(slot + 1);
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr CloseMovieFile(SInt16 resRefNum) {
    zt::movies::OpenFiles& table = zt::movies::Table();
    std::lock_guard lock(table.mutex);
    if (resRefNum <= 0 || size_t(resRefNum) > table.slots.size() || !table.slots[size_t(resRefNum) - 1])
        return fnOpnErr;
    table.slots[size_t(resRefNum) - 1].reset();
    return noErr;
}
