// What the song-source tests share: a temporary folder removed at the end, a
// child process killed at the end (and when the test process dies), and a
// wait that spins the GLib main loop until a condition holds or a deadline
// passes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SongSource.h"

namespace zt::host::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

class ChildProcess {
  public:
    // Starts argv[0] (a path) with the arguments; with captureOutput its
    // standard output can be read with ReadLine.
    explicit ChildProcess(std::vector<std::string> argv, bool captureOutput = false);
    ~ChildProcess(); // SIGKILL and reap
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // One line of output (without its end), or none by the deadline.
    std::optional<std::string> ReadLine(std::chrono::milliseconds limit);
    // Ends it now (SIGKILL) and reaps it.
    void Kill();
    // Runs to the end; its exit status, or -1.
    int Wait();

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffered_;
};

// Runs a program to its end; true when it exits with 0.
bool RunProgram(std::vector<std::string> argv);

// Spins the default main context until done() or the limit; done()'s last
// value (done is asked once after each iteration, so it may keep state).
bool SpinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(15));

// A listener that writes each event as a line: "play GENRE|ARTIST|ALBUM|TITLE",
// "change ...", "pause", "resume", "stop".
class RecordingListener final : public SongListener {
  public:
    void SongPlays(const Song& song) override { events.push_back("play " + Text(song)); }
    void SongChanges(const Song& song) override { events.push_back("change " + Text(song)); }
    void SongPauses() override { events.push_back("pause"); }
    void SongResumes() override { events.push_back("resume"); }
    void SongStops() override { events.push_back("stop"); }
    static std::string Text(const Song& s) { return s.genre + '|' + s.artist + '|' + s.album + '|' + s.title; }

    // Waits for the event count to reach n.
    bool WaitFor(size_t n) { return SpinUntil([&] { return events.size() >= n; }); }

    std::vector<std::string> events;
};

} // namespace zt::host::test
