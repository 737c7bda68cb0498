// A song source that plays a parsed song script in real time: each event is
// delivered at its time after Start, on the main loop.
#pragma once

#include <memory>
#include <vector>

#include "DeadlineTimer.h"
#include "SongSource.h"

namespace zt::host {

class ScriptedSongSource final : public SongSource {
  public:
    explicit ScriptedSongSource(std::vector<SongEvent> events);
    void Start(SongListener& listener, std::function<void()> finished) override;

  private:
    void DeliverDue();

    std::vector<SongEvent> events_;
    size_t next_ = 0;
    MonotonicTime start_{0};
    SongListener* listener_ = nullptr;
    std::function<void()> finished_;
    std::unique_ptr<DeadlineTimer> timer_;
};

} // namespace zt::host
