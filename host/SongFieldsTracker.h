// Turns what a followed player says about itself (stopped, playing or paused,
// and which song it holds) into the events a visualizer host sends: play,
// change, pause, resume, stop. Players report their whole state at each
// change (and sometimes repeat it), so the tracker keeps what the listener was
// last told and delivers only the differences.
//
// Host's thread only.
#pragma once

#include <string>

#include "SongSource.h"

namespace zt::host {

enum class PlaybackStatus { Stopped, Playing, Paused };

// A song as one player knows it: id tells songs apart (a player's track id, or
// the fields themselves when it gives none); two reports of the same id are
// the same song even when some text differs.
struct PlayerSong {
    std::string id;
    Song song;
};

class PlaybackTracker {
  public:
    explicit PlaybackTracker(SongListener& listener) : listener_(listener) {}

    // The player's state now. Stopped to playing: play. Playing another song:
    // change. Playing to paused: pause. Paused to playing the same song:
    // resume; another song: change, then resume (so the listener plays again).
    // A song picked while paused is only told when playing resumes; any state
    // to stopped: stop.
    void Update(PlaybackStatus status, const PlayerSong& song);
    void Stop() { Update(PlaybackStatus::Stopped, PlayerSong{}); }

    PlaybackStatus told() const { return told_; }

  private:
    SongListener& listener_;
    PlaybackStatus told_ = PlaybackStatus::Stopped;
    std::string toldId_;
};

} // namespace zt::host
