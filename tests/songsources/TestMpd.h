// A real MPD server for one test: a music folder of short FLAC files made with
// ffmpeg and tagged by the test (a tag may appear twice), a configuration in a
// temporary folder, 127.0.0.1 on a free port and a local socket, the null audio output. Start and
// Kill it at will; a control connection gives it commands as a client would.
#pragma once

#include <mpd/client.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace zt::host::test {

struct TestTrack {
    std::string file;                  // "a.flac"
    std::vector<std::string> comments; // "TITLE=...", "GENRE=...", each as it stands
};

class TestMpd {
  public:
    explicit TestMpd(const std::vector<TestTrack>& tracks);
    ~TestMpd();

    // Empty when everything is ready; else what went wrong.
    const std::string& error() const { return error_; }
    unsigned port() const { return port_; }
    // It also listens on a local socket here.
    std::string socketPath() const { return (folder_ / "socket").string(); }

    // Starts the server and waits until it answers; the first start also
    // reads the music folder into its database. Queues the tracks in order.
    bool Start();
    void Kill();

    // A client connection for the test's commands (made on first use).
    mpd_connection* control();

  private:
    TempFolder folder_;
    unsigned port_ = 0;
    std::vector<std::string> files_;
    std::unique_ptr<ChildProcess> server_;
    mpd_connection* control_ = nullptr;
    bool updated_ = false;
    std::string error_;
};

} // namespace zt::host::test
