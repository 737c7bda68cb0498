// One FFmpeg demuxer over a movie file, read through a descriptor of our own
// (so paths of any length work and nothing is left open): opened by path or
// over a descriptor already open, closed with everything it holds.
#pragma once

#include "UniqueFd.h"

#include <memory>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

namespace zt::movies {

class MovieInput {
  public:
    // Opens the file at path: the header only, plus a probe of the streams
    // where the format has no header. nullptr when FFmpeg cannot open it.
    static std::unique_ptr<MovieInput> Open(const std::string& path);
    // The same over a descriptor that stays the caller's (it is duplicated).
    static std::unique_ptr<MovieInput> OpenDescriptor(int fd, const std::string& path);

    MovieInput(const MovieInput&) = delete;
    MovieInput& operator=(const MovieInput&) = delete;
    ~MovieInput();

    AVFormatContext* Context() const { return format_; }
    // True for an MPEG program stream, whose streams appear only after probing.
    bool IsProgramStream() const;

  private:
    explicit MovieInput(files::UniqueFd fd) : fd_(std::move(fd)) {}
    bool OpenFormat(const std::string& path);

    files::UniqueFd fd_;
    AVIOContext* io_ = nullptr;
    AVFormatContext* format_ = nullptr;
};

} // namespace zt::movies
