#include "MpdSongSource.h"

#include <glib-unix.h>
#include <glib.h>
#include <mpd/client.h>

#include <algorithm>

#include "SongFields.h"

namespace zt::host {

namespace {

std::string Tag(const mpd_song* song, mpd_tag_type tag) {
    const char* value = mpd_song_get_tag(song, tag, 0); // a second value of a tag is ignored
    return value == nullptr ? std::string() : std::string(value);
}

// The song MPD plays: the first Genre and Artist values, each cut to its first
// ';' entry. A queue entry's id and its file tell songs apart.
PlayerSong SongOf(const mpd_song* song) {
    PlayerSong result;
    if (song == nullptr) return result;
    result.song.genre = FirstFieldEntry(Tag(song, MPD_TAG_GENRE));
    result.song.artist = FirstFieldEntry(Tag(song, MPD_TAG_ARTIST));
    result.song.album = TrimmedField(Tag(song, MPD_TAG_ALBUM));
    result.song.title = TrimmedField(Tag(song, MPD_TAG_TITLE));
    result.id = std::to_string(mpd_song_get_id(song)) + '\n' + mpd_song_get_uri(song);
    return result;
}

PlaybackStatus StatusOf(mpd_state state) {
    switch (state) {
    case MPD_STATE_PLAY: return PlaybackStatus::Playing;
    case MPD_STATE_PAUSE: return PlaybackStatus::Paused;
    default: return PlaybackStatus::Stopped;
    }
}

} // namespace

void MpdSongSource::CloseConnection::operator()(mpd_connection* connection) const { mpd_connection_free(connection); }

MpdSongSource::MpdSongSource(MpdAddress address, Reporter& reporter, MpdTiming timing)
    : address_(std::move(address)), reporter_(reporter), timing_(timing), backoff_(timing.firstRetry) {}

MpdSongSource::~MpdSongSource() {
    // Removing the sources is final: their callbacks never run after this.
    if (watch_ != 0) g_source_remove(watch_);
    if (retry_ != 0) g_source_remove(retry_);
}

bool MpdSongSource::connected() const { return connection_ != nullptr; }

void MpdSongSource::Start(SongListener& listener, std::function<void()>) {
    if (tracker_) return; // started already
    tracker_.emplace(listener);
    Connect();
}

void MpdSongSource::Connect() {
    connection_.reset(mpd_connection_new(address_.host.c_str(), address_.port, unsigned(timing_.connectTimeout.count())));
    if (connection_ == nullptr) return Lost("out of memory");
    if (mpd_connection_get_error(connection_.get()) != MPD_ERROR_SUCCESS)
        return Lost(mpd_connection_get_error_message(connection_.get()));
    if (outageReported_) reporter_.Note("MPD at " + address_.Text() + " answers again");
    outageReported_ = false;
    everConnected_ = true;
    backoff_ = timing_.firstRetry;
    if (!ReadState() || !AwaitChange()) Lost(mpd_connection_get_error_message(connection_.get()));
}

// status, then currentsong; the tracker tells the listener what changed.
bool MpdSongSource::ReadState() {
    mpd_connection* connection = connection_.get();
    mpd_status* status = mpd_run_status(connection);
    if (status == nullptr) return false;
    PlaybackStatus playback = StatusOf(mpd_status_get_state(status));
    mpd_status_free(status);
    mpd_song* song = mpd_run_current_song(connection);
    if (song == nullptr && mpd_connection_get_error(connection) != MPD_ERROR_SUCCESS) return false;
    PlayerSong current = SongOf(song);
    if (song != nullptr) mpd_song_free(song);
    tracker_->Update(song == nullptr ? PlaybackStatus::Stopped : playback, current);
    return true;
}

// `idle player`, and a watch on the socket for its answer.
bool MpdSongSource::AwaitChange() {
    if (!mpd_send_idle_mask(connection_.get(), MPD_IDLE_PLAYER)) return false;
    watch_ = g_unix_fd_add(
        mpd_connection_get_fd(connection_.get()), GIOCondition(G_IO_IN | G_IO_HUP | G_IO_ERR),
        [](gint, GIOCondition, gpointer self) -> gboolean {
            static_cast<MpdSongSource*>(self)->Readable();
            return G_SOURCE_REMOVE;
        },
        this);
    return true;
}

void MpdSongSource::Readable() {
    watch_ = 0;
    mpd_connection* connection = connection_.get();
    // The answer is there (or the socket closed): reading it does not wait.
    mpd_recv_idle(connection, false);
    if (mpd_connection_get_error(connection) != MPD_ERROR_SUCCESS || !ReadState() || !AwaitChange())
        Lost(mpd_connection_get_error_message(connection));
}

// Treated as stopped; said once per outage; tried again after the back-off.
void MpdSongSource::Lost(const std::string& why) {
    if (watch_ != 0) g_source_remove(watch_);
    watch_ = 0;
    connection_.reset();
    tracker_->Stop();
    if (!outageReported_) {
        reporter_.Error((everConnected_ ? "lost MPD at " : "cannot reach MPD at ") + address_.Text() + " (" + why +
                        "); trying again");
        outageReported_ = true;
    }
    retry_ = g_timeout_add(
        guint(backoff_.count()),
        [](gpointer self) -> gboolean {
            auto* source = static_cast<MpdSongSource*>(self);
            source->retry_ = 0;
            source->Connect();
            return G_SOURCE_REMOVE;
        },
        this);
    backoff_ = std::min(backoff_ * 2, timing_.longestRetry);
}

} // namespace zt::host
