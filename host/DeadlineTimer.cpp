#include "DeadlineTimer.h"

#include <glib.h>

namespace zt::host {
namespace {

struct TimerSource {
    GSource base;
    DeadlineTimer* timer;
};

} // namespace

MonotonicTime MonotonicNow() { return MonotonicTime(g_get_monotonic_time()); }

int DeadlineTimer::Dispatch(GSource* source, int (*)(void*), void*) {
    DeadlineTimer* timer = reinterpret_cast<TimerSource*>(source)->timer;
    timer->Disarm(); // fires once; the callback arms the next deadline
    timer->callback_();
    return G_SOURCE_CONTINUE;
}

DeadlineTimer::DeadlineTimer(std::function<void()> callback, GMainContext* context)
    : callback_(std::move(callback)) {
    static GSourceFuncs functions = {nullptr, nullptr, &DeadlineTimer::Dispatch, nullptr, nullptr, nullptr};
    source_ = g_source_new(&functions, sizeof(TimerSource));
    reinterpret_cast<TimerSource*>(source_)->timer = this;
    g_source_set_ready_time(source_, -1);
    g_source_attach(source_, context);
}

DeadlineTimer::~DeadlineTimer() {
    g_source_destroy(source_);
    g_source_unref(source_);
}

void DeadlineTimer::ArmAt(MonotonicTime deadline) {
    g_source_set_ready_time(source_, deadline.count() < 0 ? 0 : deadline.count());
    armed_ = true;
}

void DeadlineTimer::Disarm() {
    g_source_set_ready_time(source_, -1);
    armed_ = false;
}

} // namespace zt::host
