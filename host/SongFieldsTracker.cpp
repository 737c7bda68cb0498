#include "SongFieldsTracker.h"

namespace zt::host {

void PlaybackTracker::Update(PlaybackStatus status, const PlayerSong& song) {
    switch (status) {
    case PlaybackStatus::Stopped:
        if (told_ == PlaybackStatus::Stopped) return;
        told_ = PlaybackStatus::Stopped;
        toldId_.clear();
        listener_.SongStops();
        return;
    case PlaybackStatus::Paused:
        // A player that starts out paused has nothing to show yet: the listener
        // stays stopped until it plays.
        if (told_ != PlaybackStatus::Playing) return;
        told_ = PlaybackStatus::Paused;
        listener_.SongPauses();
        return;
    case PlaybackStatus::Playing:
        if (told_ == PlaybackStatus::Stopped) {
            told_ = PlaybackStatus::Playing;
            toldId_ = song.id;
            listener_.SongPlays(song.song);
            return;
        }
        bool wasPaused = told_ == PlaybackStatus::Paused;
        told_ = PlaybackStatus::Playing;
        if (song.id != toldId_) {
            toldId_ = song.id;
            listener_.SongChanges(song.song);
        }
        if (wasPaused) listener_.SongResumes();
        return;
    }
}

} // namespace zt::host
