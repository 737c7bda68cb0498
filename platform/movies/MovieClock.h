// A movie's clock: movie time in microseconds, running at rate 1 from the
// moment it is started, on a monotonic clock. A running clock may be held at
// its time (while the first picture is being decoded) until it is released.
#pragma once

#include <chrono>
#include <cstdint>

namespace zt::movies {

class MovieClock {
  public:
    int64_t NowUs() const {
        if (!running_ || held_) return baseUs_;
        auto elapsed = std::chrono::steady_clock::now() - anchor_;
        return baseUs_ + std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    }
    bool Running() const { return running_; }
    void Start() {
        if (running_) return;
        anchor_ = std::chrono::steady_clock::now();
        running_ = true;
    }
    void Stop() {
        baseUs_ = NowUs();
        running_ = false;
        held_ = false;
    }
    bool Held() const { return held_; }
    void Hold() {
        if (!running_ || held_) return;
        baseUs_ = NowUs();
        held_ = true;
    }
    void Release() {
        if (!held_) return;
        anchor_ = std::chrono::steady_clock::now();
        held_ = false;
    }
    void Set(int64_t us) {
        baseUs_ = us;
        anchor_ = std::chrono::steady_clock::now();
    }

  private:
    std::chrono::steady_clock::time_point anchor_{};
    int64_t baseUs_ = 0;
    bool running_ = false;
    bool held_ = false;
};

} // namespace zt::movies
