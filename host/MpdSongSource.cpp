#include "MpdSongSource.h"

#include <gio/gio.h>
#include <gio/gunixsocketaddress.h>
#include <glib-unix.h>
#include <glib.h>
#include <mpd/async.h>
#include <mpd/client.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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

using WeakSource = std::weak_ptr<MpdSongSource*>;

// The place to connect to: a host and port, a socket file or an abstract socket.
GSocketConnectable* ConnectableFor(const MpdAddress& address) {
    const std::string& host = address.host;
    if (host[0] == '/') return G_SOCKET_CONNECTABLE(g_unix_socket_address_new(host.c_str()));
    if (host[0] == '@')
        return G_SOCKET_CONNECTABLE(
            g_unix_socket_address_new_with_type(host.c_str() + 1, -1, G_UNIX_SOCKET_ADDRESS_ABSTRACT));
    return g_network_address_new(host.c_str(), guint16(address.port));
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
    : address_(std::move(address)), reporter_(reporter), timing_(timing),
      alive_(std::make_shared<MpdSongSource*>(this)), cancellable_(g_cancellable_new()), backoff_(timing.firstRetry) {}

MpdSongSource::~MpdSongSource() {
    alive_.reset();
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    // Removing the sources is final: their callbacks never run after this.
    for (unsigned source : {watch_, deadline_, retry_})
        if (source != 0) g_source_remove(source);
    if (greetingFd_ >= 0) close(greetingFd_);
}

bool MpdSongSource::connected() const { return connection_ != nullptr; }

void MpdSongSource::Start(SongListener& listener, std::function<void()>) {
    if (tracker_) return; // started already
    tracker_.emplace(listener);
    Connect();
}

void MpdSongSource::Connect() {
    if (address_.host.empty()) return Lost("no host");
    GSocketClient* client = g_socket_client_new();
    g_socket_client_set_timeout(client, guint(std::max<long>(1, (timing_.connectTimeout.count() + 999) / 1000)));
    GSocketConnectable* target = ConnectableFor(address_);
    g_socket_client_connect_async(
        client, target, cancellable_,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            std::unique_ptr<WeakSource> weak(static_cast<WeakSource*>(data));
            GError* error = nullptr;
            GSocketConnection* connection = g_socket_client_connect_finish(G_SOCKET_CLIENT(object), result, &error);
            std::shared_ptr<MpdSongSource*> alive = weak->lock();
            if (alive && connection == nullptr) (*alive)->Lost(error->message);
            if (alive && connection != nullptr) {
                // The socket is ours from here; the GIO objects let go of theirs.
                int fd = dup(g_socket_get_fd(g_socket_connection_get_socket(connection)));
                if (fd < 0)
                    (*alive)->Lost(std::strerror(errno));
                else
                    (*alive)->AwaitGreeting(fd);
            }
            if (connection != nullptr) g_object_unref(connection);
            if (error != nullptr) g_error_free(error);
        },
        new WeakSource(alive_));
    g_object_unref(target);
    g_object_unref(client);
}

// MPD speaks first: "OK MPD 0.23.5". It is read as it comes, never waited for.
void MpdSongSource::AwaitGreeting(int fd) {
    greetingFd_ = fd;
    greeting_.clear();
    watch_ = g_unix_fd_add(
        fd, GIOCondition(G_IO_IN | G_IO_HUP | G_IO_ERR),
        [](gint, GIOCondition, gpointer self) -> gboolean {
            return static_cast<MpdSongSource*>(self)->GreetingReadable() ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
        },
        this);
    deadline_ = g_timeout_add(
        guint(timing_.connectTimeout.count()),
        [](gpointer self) -> gboolean {
            auto* source = static_cast<MpdSongSource*>(self);
            source->deadline_ = 0;
            source->Lost("no greeting from the server");
            return G_SOURCE_REMOVE;
        },
        this);
}

// True while more of the greeting is awaited.
bool MpdSongSource::GreetingReadable() {
    char chunk[256];
    ssize_t got = recv(greetingFd_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
    if (got > 0) greeting_.append(chunk, size_t(got));
    size_t end = greeting_.find('\n');
    if (got > 0 && end == std::string::npos && greeting_.size() <= 1024) return true;
    watch_ = 0; // this watch ends with this call
    if (got <= 0) {
        Lost(got == 0 ? "the server closed the connection" : std::strerror(errno));
    } else if (end == std::string::npos) {
        Lost("not an MPD server");
    } else {
        g_source_remove(deadline_);
        deadline_ = 0;
        Greeted(greeting_.substr(0, end));
    }
    return false;
}

void MpdSongSource::Greeted(const std::string& welcome) {
    mpd_async* async = mpd_async_new(greetingFd_);
    if (async == nullptr) return Lost("out of memory");
    greetingFd_ = -1; // libmpdclient closes it now
    connection_.reset(mpd_connection_new_async(async, welcome.c_str()));
    if (connection_ == nullptr) {
        mpd_async_free(async);
        return Lost("out of memory");
    }
    if (mpd_connection_get_error(connection_.get()) != MPD_ERROR_SUCCESS)
        return Lost(mpd_connection_get_error_message(connection_.get()));
    mpd_connection_set_timeout(connection_.get(), unsigned(timing_.connectTimeout.count()));
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
    for (unsigned* source : {&watch_, &deadline_}) {
        if (*source != 0) g_source_remove(*source);
        *source = 0;
    }
    if (greetingFd_ >= 0) close(greetingFd_);
    greetingFd_ = -1;
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
