// A main-loop timer that fires at a deadline on the monotonic clock, once per
// arming. Frames, song events and the end of a run are all deadlines: each
// callback arms the next one from the time it was due, not from when it ran,
// so lateness does not pile up the way a fixed tick's does.
#pragma once

#include <chrono>
#include <functional>

typedef struct _GSource GSource;
typedef struct _GMainContext GMainContext;

namespace zt::host {

// Monotonic time (CLOCK_MONOTONIC, as the GLib main loop measures it).
using MonotonicTime = std::chrono::microseconds;
MonotonicTime MonotonicNow();

class DeadlineTimer {
  public:
    // The callback runs on the thread running the context's loop (null: the
    // default context). It may re-arm or disarm the timer.
    DeadlineTimer(std::function<void()> callback, GMainContext* context = nullptr);
    ~DeadlineTimer();
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    void ArmAt(MonotonicTime deadline);
    void Disarm();
    bool armed() const { return armed_; }

  private:
    static int Dispatch(GSource* source, int (*)(void*), void*);
    GSource* source_;
    std::function<void()> callback_;
    bool armed_ = false;
};

} // namespace zt::host
