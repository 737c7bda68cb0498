// Follows an MPD server: connects, reads `status` and `currentsong`, then
// waits with `idle player` while the GLib main loop watches the connection's
// socket; each answer means "the player changed", so the state is read again.
// When the server cannot be reached or goes away, the person is told once, the
// listener hears a stop, and the source tries again after a back-off (1 s
// doubling to 30 s by default) until the server is back.
//
// Connecting never blocks the main loop: GIO resolves the host and connects
// asynchronously, and the server's greeting is read when the socket is
// readable (each step bounded by connectTimeout); libmpdclient then takes the
// open socket. The two commands after each change (status, currentsong) are
// answered at once by a live server and wait at most connectTimeout for a
// hung one; idling never blocks.
//
// Host's thread only. The listener must not destroy the source from inside
// one of its calls. Nothing is delivered after the source is destroyed.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "MpdAddress.h"
#include "Reporter.h"
#include "SongFieldsTracker.h"
#include "SongSource.h"

struct mpd_connection;
typedef struct _GCancellable GCancellable;

namespace zt::host {

struct MpdTiming {
    std::chrono::milliseconds connectTimeout{1000};
    std::chrono::milliseconds firstRetry{1000};
    std::chrono::milliseconds longestRetry{30000};
};

class MpdSongSource final : public SongSource {
  public:
    MpdSongSource(MpdAddress address, Reporter& reporter, MpdTiming timing = {});
    ~MpdSongSource() override;
    MpdSongSource(const MpdSongSource&) = delete;
    MpdSongSource& operator=(const MpdSongSource&) = delete;

    // Connects and starts following. Never calls finished: the server may
    // always come back.
    void Start(SongListener& listener, std::function<void()> finished) override;

    bool connected() const;

  private:
    struct CloseConnection {
        void operator()(mpd_connection* connection) const;
    };
    void Connect();
    void AwaitGreeting(int fd);
    bool GreetingReadable();
    void Greeted(const std::string& welcome);
    bool ReadState();
    bool AwaitChange();
    void Lost(const std::string& why);
    void Readable();

    MpdAddress address_;
    Reporter& reporter_;
    MpdTiming timing_;
    std::unique_ptr<mpd_connection, CloseConnection> connection_;
    std::optional<PlaybackTracker> tracker_;
    // Asynchronous connects hold a weak reference to this: a connect that
    // finishes after the source is gone finds nothing.
    std::shared_ptr<MpdSongSource*> alive_;
    GCancellable* cancellable_ = nullptr;
    int greetingFd_ = -1; // the socket until libmpdclient owns it
    std::string greeting_;
    unsigned watch_ = 0;    // the socket: the greeting, then each idle answer
    unsigned deadline_ = 0; // the greeting is late
    unsigned retry_ = 0;
    std::chrono::milliseconds backoff_;
    bool everConnected_ = false;
    bool outageReported_ = false;
};

} // namespace zt::host
