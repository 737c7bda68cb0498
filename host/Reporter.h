// What the host tells the person running it: errors, notes, and misuse by the
// plug-in, each one line on the error stream beginning "zoetropica: ".
// Any thread may report (a plug-in may misbehave from its own threads).
#pragma once

#include <atomic>
#include <mutex>
#include <ostream>
#include <string_view>

namespace zt::host {

class Reporter {
  public:
    explicit Reporter(std::ostream& stream) : stream_(stream) {}

    void Error(std::string_view message) { Line("", message); }
    void Note(std::string_view message) { Line("", message); }
    // The plug-in broke a rule of the interface; the host carries on where it can.
    void Misuse(std::string_view message) {
        ++misuseCount_;
        Line("plug-in misuse: ", message);
    }
    int misuseCount() const { return misuseCount_; }

  private:
    void Line(std::string_view kind, std::string_view message) {
        std::lock_guard lock(mutex_);
        stream_ << "zoetropica: " << kind << message << '\n' << std::flush;
    }

    std::mutex mutex_;
    std::ostream& stream_;
    std::atomic<int> misuseCount_ = 0;
};

} // namespace zt::host
