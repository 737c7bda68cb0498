// The frames a picture decoder has made ahead of time, handed from the decoder
// thread to the host's thread: a ring of a few slots, each a picture already
// scaled to the movie box (32-bit x-8-8-8, native order).
//
// The decoder fills free slots in order and publishes them; the host's thread
// takes the newest frame that is due, which becomes the shown slot, and the
// older ones are freed. Only index bookkeeping happens under the lock; the
// pixels of a slot are written while it is free and read while it is shown, so
// the two threads never touch the same pixels at once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace zt::movies {

struct FrameSlot {
    uint8_t* pixels = nullptr; // av_malloc'ed, `capacity` bytes
    size_t capacity = 0;
    int width = 0;
    int height = 0;
    int rowBytes = 0;
    int64_t startUs = 0; // when the frame is due
    int64_t endUs = 0;   // when the next one is
};

struct QueueStatus {
    bool finished = false;  // the decoder has made its last frame (or failed)
    int ready = 0;          // frames published and not yet taken
    int64_t published = 0;  // frames published in all
    int64_t dataEndUs = 0;  // the end of the last frame published
    bool full = false;      // no free slot: the decoder waits for the host's thread
};

class FrameQueue {
  public:
    static constexpr int kSlots = 4;

    FrameQueue() = default;
    FrameQueue(const FrameQueue&) = delete;
    FrameQueue& operator=(const FrameQueue&) = delete;
    ~FrameQueue();

    // The size frames should be scaled to (0 x 0: decode but draw nowhere).
    void SetTargetSize(int width, int height);

    // Decoder side. Waits for a free slot; -1 once Abort was called. The slot's
    // size is set to the target size (its pixels reallocated when too small;
    // width and height 0 when they cannot be).
    int AcquireFree();
    FrameSlot& Slot(int index) { return slots_[index]; }
    void Publish(int index);
    void Finish();

    // Host side. The newest frame due at `nowUs` (older ones are dropped),
    // which becomes the shown slot; -1 when no new frame is due. Never waits
    // longer than the decoder's index bookkeeping takes, never allocates.
    int TakeDue(int64_t nowUs);
    QueueStatus Status();
    // Stops a waiting decoder for good.
    void Abort();

  private:
    std::mutex mutex_;
    std::condition_variable freed_;
    FrameSlot slots_[kSlots];
    int read_ = 0;      // the oldest ready slot
    int ready_ = 0;     // ready slots from read_ on
    bool hasShown_ = false; // the slot before read_ is being shown
    bool aborted_ = false;
    bool finished_ = false;
    int64_t published_ = 0;
    int64_t dataEndUs_ = 0;
    int targetWidth_ = 0;
    int targetHeight_ = 0;
};

} // namespace zt::movies
