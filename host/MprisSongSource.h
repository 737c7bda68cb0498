// Follows desktop music players over MPRIS (D-Bus): every bus name
// org.mpris.MediaPlayer2.* is a player; the source follows the one that plays
// (or only the one the person named) and tells the listener its songs.
//
// It learns players from ListNames at start and NameOwnerChanged after, reads
// PlaybackStatus and Metadata with GetAll, and hears PropertiesChanged from
// each player's unique name. A player that leaves the bus counts as stopped;
// when the followed player is not playing and another one is, the source
// follows that one. Every D-Bus call is asynchronous, on the host's GLib main
// loop; nothing is delivered after the source is destroyed.
//
// Host's thread only. The listener must not destroy the source from inside
// one of its calls.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Reporter.h"
#include "SongSource.h"

typedef struct _GDBusConnection GDBusConnection;

namespace zt::host {

class MprisSongSource final : public SongSource {
  public:
    // player: a player's short name ("vlc" for org.mpris.MediaPlayer2.vlc) or
    // its full bus name; none follows whichever player plays.
    // busAddress: a D-Bus address ("unix:path=..."); none means the session bus.
    MprisSongSource(Reporter& reporter, std::optional<std::string> player = std::nullopt,
                    std::optional<std::string> busAddress = std::nullopt);
    // Uses a connection the caller made (kept alive with a reference).
    MprisSongSource(Reporter& reporter, std::optional<std::string> player, GDBusConnection* connection);
    ~MprisSongSource() override;
    MprisSongSource(const MprisSongSource&) = delete;
    MprisSongSource& operator=(const MprisSongSource&) = delete;

    // Connects (when no connection was given) and starts following. Never
    // calls finished: players may always come back.
    void Start(SongListener& listener, std::function<void()> finished) override;

    struct Core;

  private:
    std::shared_ptr<Core> core_;
};

// Whether a session bus can be reached now (DBUS_SESSION_BUS_ADDRESS, or the
// bus socket in XDG_RUNTIME_DIR): the host's test for following MPRIS players
// by default. Never starts a bus.
bool SessionBusReachable();

// Whether a bus name belongs to the player the person named ("vlc", or
// "org.mpris.MediaPlayer2.vlc"; an instance suffix such as ".instance42" is
// accepted). An empty choice accepts every MPRIS name.
bool MprisNameMatches(std::string_view busName, std::string_view chosen);

} // namespace zt::host
