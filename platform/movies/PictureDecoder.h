// The decoder thread of a playing movie: its own demuxer over the movie file,
// decoding one picture stream from a start time, scaling each frame to the
// target size (libswscale) into the frame queue, a few frames ahead of the
// clock. Destroying it stops and joins the thread and frees everything.
#pragma once

#include "FrameQueue.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace zt::movies {

struct PictureSource {
    std::string path;
    int streamIndex = -1;
    int64_t durationUs = 0;
};

class PictureDecoder {
  public:
    // Starts decoding from `startUs`, frames scaled to width x height. The
    // thread starts even when the file cannot be decoded: it then finishes at
    // once, having made no frame.
    PictureDecoder(PictureSource source, int64_t startUs, int width, int height);
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;
    ~PictureDecoder();

    FrameQueue& Queue() { return queue_; }

  private:
    void Run();
    void Decode();

    PictureSource source_;
    int64_t startUs_;
    FrameQueue queue_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace zt::movies
