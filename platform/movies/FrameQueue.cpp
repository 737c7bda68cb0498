#include "FrameQueue.h"

#include "MoviesLog.h"

extern "C" {
#include <libavutil/mem.h>
}

namespace zt::movies {

namespace {
// A picture larger than this many pixels is not drawn (8192 x 8192).
constexpr int64_t kMaxPixels = int64_t(1) << 26;
} // namespace

FrameQueue::~FrameQueue() {
    for (FrameSlot& slot : slots_) av_freep(&slot.pixels);
}

void FrameQueue::SetTargetSize(int width, int height) {
    std::lock_guard lock(mutex_);
    bool drawable = width > 0 && height > 0 && int64_t(width) * height <= kMaxPixels;
    if (!drawable && width > 0 && height > 0) LogMoviesProblem("a movie box of %d x %d is too large to draw", width, height);
    targetWidth_ = drawable ? width : 0;
    targetHeight_ = drawable ? height : 0;
}

int FrameQueue::AcquireFree() {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [this] { return aborted_ || ready_ + (hasShown_ ? 1 : 0) < kSlots; });
    if (aborted_) return -1;
    int index = (read_ + ready_) % kSlots;
    int width = targetWidth_, height = targetHeight_;
    lock.unlock();

    // The slot is free: neither ready nor shown, so this thread alone touches it.
    FrameSlot& slot = slots_[index];
    int rowBytes = (width * 4 + 63) & ~63;
    size_t bytes = size_t(rowBytes) * size_t(height);
    if (bytes > slot.capacity) {
        av_freep(&slot.pixels);
        slot.capacity = 0;
        slot.pixels = static_cast<uint8_t*>(av_malloc(bytes));
        if (slot.pixels != nullptr) slot.capacity = bytes;
    }
    bool ok = slot.pixels != nullptr || bytes == 0;
    slot.width = ok ? width : 0;
    slot.height = ok ? height : 0;
    slot.rowBytes = ok ? rowBytes : 0;
    return index;
}

void FrameQueue::Publish(int index) {
    std::lock_guard lock(mutex_);
    if (index != (read_ + ready_) % kSlots) return; // not the slot AcquireFree gave
    ++ready_;
    ++published_;
    dataEndUs_ = slots_[index].endUs;
}

void FrameQueue::Finish() {
    std::lock_guard lock(mutex_);
    finished_ = true;
}

int FrameQueue::TakeDue(int64_t nowUs) {
    std::lock_guard lock(mutex_);
    int due = 0;
    while (due < ready_ && slots_[(read_ + due) % kSlots].startUs <= nowUs) ++due;
    if (due == 0) return -1;
    int shown = (read_ + due - 1) % kSlots;
    read_ = (read_ + due) % kSlots;
    ready_ -= due;
    hasShown_ = true;
    freed_.notify_one();
    return shown;
}

QueueStatus FrameQueue::Status() {
    std::lock_guard lock(mutex_);
    return QueueStatus{finished_, ready_, published_, dataEndUs_, ready_ + (hasShown_ ? 1 : 0) >= kSlots};
}

void FrameQueue::Abort() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    freed_.notify_all();
}

} // namespace zt::movies
