#include "ScriptedSongSource.h"

namespace zt::host {

ScriptedSongSource::ScriptedSongSource(std::vector<SongEvent> events) : events_(std::move(events)) {}

void ScriptedSongSource::Start(SongListener& listener, std::function<void()> finished) {
    listener_ = &listener;
    finished_ = std::move(finished);
    start_ = MonotonicNow();
    timer_ = std::make_unique<DeadlineTimer>([this] { DeliverDue(); });
    DeliverDue();
}

// Delivers every event whose time has come, in order, then waits for the next.
void ScriptedSongSource::DeliverDue() {
    MonotonicTime now = MonotonicNow();
    while (next_ < events_.size() && start_ + events_[next_].at <= now) {
        const SongEvent& event = events_[next_++];
        switch (event.kind) {
        case SongEventKind::Play: listener_->SongPlays(event.song); break;
        case SongEventKind::Change: listener_->SongChanges(event.song); break;
        case SongEventKind::Pause: listener_->SongPauses(); break;
        case SongEventKind::Resume: listener_->SongResumes(); break;
        case SongEventKind::Stop: listener_->SongStops(); break;
        }
        now = MonotonicNow();
    }
    if (next_ < events_.size()) {
        timer_->ArmAt(start_ + events_[next_].at);
    } else if (finished_) {
        auto finished = std::move(finished_);
        finished_ = nullptr;
        finished();
    }
}

} // namespace zt::host
