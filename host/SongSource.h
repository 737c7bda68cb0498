// Where the host learns what music plays: a source reports songs starting,
// changing, pausing, resuming and stopping. One source today (a timed script);
// a media player followed over MPRIS or MPD is another implementation.
//
// Host's thread only: sources deliver their events from the main loop.
#pragma once

#include <functional>

#include "SongScript.h"

namespace zt::host {

class SongListener {
  public:
    virtual ~SongListener() = default;
    virtual void SongPlays(const Song& song) = 0;
    virtual void SongChanges(const Song& song) = 0;
    virtual void SongPauses() = 0;
    virtual void SongResumes() = 0;
    virtual void SongStops() = 0;
};

class SongSource {
  public:
    virtual ~SongSource() = default;
    // Starts delivering events to the listener, which outlives the source.
    // finished runs once when the source has nothing more to tell (a script's
    // last event); sources that follow a player never finish.
    virtual void Start(SongListener& listener, std::function<void()> finished) = 0;
};

} // namespace zt::host
