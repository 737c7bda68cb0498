#include "MovieInput.h"

#include "LongPath.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <fcntl.h>
#include <unistd.h>

namespace zt::movies {

namespace {
constexpr int kIoBufferSize = 32768; // as FFmpeg's own file reading

int ReadPacket(void* opaque, uint8_t* buffer, int size) {
    int fd = *static_cast<int*>(opaque);
    for (;;) {
        ssize_t got = ::read(fd, buffer, size_t(size));
        if (got > 0) return int(got);
        if (got == 0) return AVERROR_EOF;
        if (errno != EINTR) return AVERROR(errno);
    }
}

// FFmpeg's own log speaks of every file that is no movie and every damaged
// frame; the service reports what matters itself. ZOETROPICA_FFMPEG_LOG=1 keeps it.
void QuietFfmpegLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        const char* keep = std::getenv("ZOETROPICA_FFMPEG_LOG");
        if (keep == nullptr || keep[0] == '\0' || keep[0] == '0') av_log_set_level(AV_LOG_FATAL);
    });
}

int64_t Seek(void* opaque, int64_t offset, int whence) {
    int fd = *static_cast<int*>(opaque);
    if (whence == AVSEEK_SIZE) {
        struct stat info {};
        return ::fstat(fd, &info) == 0 ? int64_t(info.st_size) : AVERROR(errno);
    }
    off_t at = ::lseek(fd, off_t(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : int64_t(at);
}
} // namespace

std::unique_ptr<MovieInput> MovieInput::Open(const std::string& path) {
    files::UniqueFd fd = files::OpenPath(path, O_RDONLY | O_NONBLOCK);
    if (!fd) return nullptr;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    std::unique_ptr<MovieInput> input(new (std::nothrow) MovieInput(std::move(fd)));
    if (input == nullptr || !input->OpenFormat(path)) return nullptr;
    return input;
}

std::unique_ptr<MovieInput> MovieInput::OpenDescriptor(int fd, const std::string& path) {
    files::UniqueFd own(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (!own || ::lseek(own.Get(), 0, SEEK_SET) != 0) return nullptr;
    std::unique_ptr<MovieInput> input(new (std::nothrow) MovieInput(std::move(own)));
    if (input == nullptr || !input->OpenFormat(path)) return nullptr;
    return input;
}

bool MovieInput::OpenFormat(const std::string& path) {
    QuietFfmpegLog();
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    if (buffer == nullptr) return false;
    // The descriptor lives as long as this object, so its address is a stable opaque.
    io_ = avio_alloc_context(buffer, kIoBufferSize, 0, &fd_, ReadPacket, nullptr, Seek);
    if (io_ == nullptr) {
        av_free(buffer);
        return false;
    }
    format_ = avformat_alloc_context();
    if (format_ == nullptr) return false;
    format_->pb = io_;
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The name only helps the probe (an extension); the bytes come through io_.
    std::string name = path.substr(path.rfind('/') + 1);
    if (avformat_open_input(&format_, name.c_str(), nullptr, nullptr) < 0) {
        format_ = nullptr; // freed by the failed open
        return false;
    }
    if ((format_->ctx_flags & AVFMTCTX_NOHEADER) != 0 || format_->nb_streams == 0) {
        if (avformat_find_stream_info(format_, nullptr) < 0) return false;
    }
    return true;
}

bool MovieInput::IsProgramStream() const {
    return format_ != nullptr && std::strcmp(format_->iformat->name, "mpeg") == 0;
}

MovieInput::~MovieInput() {
    if (format_ != nullptr) avformat_close_input(&format_);
    if (io_ != nullptr) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
}

} // namespace zt::movies
