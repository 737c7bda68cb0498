#include "MprisSongSource.h"

#include <gio/gio.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "MprisMetadata.h"
#include "SongFieldsTracker.h"

namespace zt::host {

namespace {

constexpr std::string_view kMprisPrefix = "org.mpris.MediaPlayer2.";
constexpr const char* kMprisNamespace = "org.mpris.MediaPlayer2";
constexpr const char* kMprisPath = "/org/mpris/MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kBusName = "org.freedesktop.DBus";
constexpr const char* kBusPath = "/org/freedesktop/DBus";
constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";

// One player on the bus, known by its well-known and its unique name.
struct Player {
    std::string busName;
    std::string owner;
    bool known = false; // its properties have been read
    PlaybackStatus status = PlaybackStatus::Stopped;
    PlayerSong song;
    uint64_t playingSince = 0; // when it last began playing, in the source's own count
};

} // namespace

bool MprisNameMatches(std::string_view busName, std::string_view chosen) {
    if (!busName.starts_with(kMprisPrefix) || busName.size() == kMprisPrefix.size()) return false;
    if (chosen.empty()) return true;
    std::string full = chosen.starts_with(kMprisPrefix) ? std::string(chosen) : std::string(kMprisPrefix) + std::string(chosen);
    if (busName == full) return true;
    // Players that may run more than once add an instance part: ".instance42".
    return busName.size() > full.size() && busName.starts_with(full) && busName[full.size()] == '.';
}

struct MprisSongSource::Core {
    Core(Reporter& reporter, std::optional<std::string> player, std::optional<std::string> address)
        : reporter(reporter), chosen(player.value_or("")), address(std::move(address)),
          cancellable(g_cancellable_new()) {}
    ~Core();

    void Connect(const std::shared_ptr<Core>& self);
    void Begin(const std::shared_ptr<Core>& self);
    void ListPlayers(const std::shared_ptr<Core>& self);
    void PlayerCame(const std::string& busName, const std::string& owner);
    void PlayerLeft(const std::string& busName);
    void ReadProperties(const Player& player);
    void Apply(Player& player, GVariant* properties);
    void Reconsider();
    void Closed();
    Player* ByBusName(std::string_view busName);
    Player* ByOwner(std::string_view owner);

    Reporter& reporter;
    std::string chosen;
    std::optional<std::string> address;
    GDBusConnection* connection = nullptr; // a reference of ours
    bool madeConnection = false;           // ours to close
    GCancellable* cancellable;
    guint nameSubscription = 0;
    guint propertiesSubscription = 0;
    gulong closedHandler = 0;
    std::weak_ptr<Core> self;

    std::optional<PlaybackTracker> tracker;
    std::vector<Player> players;
    std::string followed; // the bus name of the followed player, or empty
    uint64_t sequence = 0;
};

namespace {

using Core = MprisSongSource::Core;
using WeakCore = std::weak_ptr<Core>;

// GLib callbacks carry a weak reference: a reply or signal that arrives after
// the source is gone finds nothing and does nothing.
gpointer NewWeak(const std::shared_ptr<Core>& core) { return new WeakCore(core); }
void DeleteWeak(gpointer data) { delete static_cast<WeakCore*>(data); }

// What an asynchronous call must remember until its reply.
struct CallContext {
    WeakCore core;
    std::string busName;
    std::string owner;
};

// Runs the reply with the core (if it still lives) and the reply or error;
// frees the context and the reply.
template <class Handle>
void FinishCall(GObject* object, GAsyncResult* result, gpointer data, Handle handle) {
    std::unique_ptr<CallContext> context(static_cast<CallContext*>(data));
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(object), result, &error);
    std::shared_ptr<Core> core = context->core.lock();
    if (core && !g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) handle(*core, *context, reply, error);
    if (reply != nullptr) g_variant_unref(reply);
    if (error != nullptr) g_error_free(error);
}

void OnNameOwnerChanged(GDBusConnection*, const char*, const char*, const char*, const char*,
                        GVariant* parameters, gpointer data) {
    std::shared_ptr<Core> core = static_cast<WeakCore*>(data)->lock();
    if (!core || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sss)"))) return;
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    g_variant_get(parameters, "(&s&s&s)", &name, &oldOwner, &newOwner);
    if (!MprisNameMatches(name, core->chosen)) return;
    if (*oldOwner != '\0') core->PlayerLeft(name);
    if (*newOwner != '\0') core->PlayerCame(name, newOwner);
}

void OnPropertiesChanged(GDBusConnection*, const char* sender, const char*, const char*, const char*,
                         GVariant* parameters, gpointer data) {
    std::shared_ptr<Core> core = static_cast<WeakCore*>(data)->lock();
    if (!core || sender == nullptr || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{sv}as)"))) return;
    Player* player = core->ByOwner(sender);
    if (player == nullptr) return;
    GVariant* changed = g_variant_get_child_value(parameters, 1);
    GVariant* invalidated = g_variant_get_child_value(parameters, 2);
    bool reread = false;
    for (const char* name : {"PlaybackStatus", "Metadata"}) {
        size_t count = g_variant_n_children(invalidated);
        for (size_t i = 0; i < count; ++i) {
            GVariant* entry = g_variant_get_child_value(invalidated, i);
            reread = reread || g_strcmp0(g_variant_get_string(entry, nullptr), name) == 0;
            g_variant_unref(entry);
        }
    }
    // A change heard before the first reading is already part of that reading.
    if (player->known) core->Apply(*player, changed);
    if (reread) core->ReadProperties(*player);
    g_variant_unref(changed);
    g_variant_unref(invalidated);
    core->Reconsider();
}

void OnClosed(GDBusConnection*, gboolean, GError*, gpointer data) {
    if (std::shared_ptr<Core> core = static_cast<WeakCore*>(data)->lock()) core->Closed();
}

void OnConnected(GObject*, GAsyncResult* result, gpointer data) {
    std::unique_ptr<CallContext> context(static_cast<CallContext*>(data));
    std::shared_ptr<Core> core = context->core.lock();
    GError* error = nullptr;
    GDBusConnection* connection = core && !core->address ? g_bus_get_finish(result, &error)
                                                         : g_dbus_connection_new_for_address_finish(result, &error);
    if (!core || connection == nullptr) {
        if (core && !g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
            core->reporter.Error("cannot reach the D-Bus " +
                                 (core->address ? "bus at " + *core->address : std::string("session bus")) +
                                 " (" + (error ? error->message : "unknown error") +
                                 "): no music player is followed");
        if (error != nullptr) g_error_free(error);
        if (connection != nullptr) {
            g_dbus_connection_close(connection, nullptr, nullptr, nullptr);
            g_object_unref(connection);
        }
        return;
    }
    core->connection = connection;
    core->madeConnection = core->address.has_value();
    core->Begin(core);
}

} // namespace

Core::~Core() {
    g_cancellable_cancel(cancellable);
    if (connection != nullptr) {
        if (nameSubscription != 0) g_dbus_connection_signal_unsubscribe(connection, nameSubscription);
        if (propertiesSubscription != 0) g_dbus_connection_signal_unsubscribe(connection, propertiesSubscription);
        if (closedHandler != 0) g_signal_handler_disconnect(connection, closedHandler);
        if (madeConnection) g_dbus_connection_close(connection, nullptr, nullptr, nullptr);
        g_object_unref(connection);
    }
    g_object_unref(cancellable);
}

void Core::Connect(const std::shared_ptr<Core>& core) {
    auto* context = new CallContext{core, {}, {}};
    if (address) {
        auto flags = GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
        g_dbus_connection_new_for_address(address->c_str(), flags, nullptr, cancellable, OnConnected, context);
    } else {
        g_bus_get(G_BUS_TYPE_SESSION, cancellable, OnConnected, context);
    }
}

// Listens first, then lists: a player that comes or goes in between is heard.
void Core::Begin(const std::shared_ptr<Core>& core) {
    // The session connection is shared; a bus that goes away must not end the
    // program, only the following.
    g_dbus_connection_set_exit_on_close(connection, false);
    closedHandler = g_signal_connect_data(connection, "closed", G_CALLBACK(OnClosed), NewWeak(core),
                                          [](gpointer data, GClosure*) { DeleteWeak(data); }, GConnectFlags(0));
    nameSubscription = g_dbus_connection_signal_subscribe(
        connection, kBusName, kBusName, "NameOwnerChanged", kBusPath, kMprisNamespace,
        G_DBUS_SIGNAL_FLAGS_MATCH_ARG0_NAMESPACE, OnNameOwnerChanged, NewWeak(core), DeleteWeak);
    propertiesSubscription = g_dbus_connection_signal_subscribe(
        connection, nullptr, kPropertiesInterface, "PropertiesChanged", kMprisPath, kPlayerInterface,
        G_DBUS_SIGNAL_FLAGS_NONE, OnPropertiesChanged, NewWeak(core), DeleteWeak);
    ListPlayers(core);
}

void Core::ListPlayers(const std::shared_ptr<Core>& core) {
    g_dbus_connection_call(
        connection, kBusName, kBusPath, kBusName, "ListNames", nullptr, G_VARIANT_TYPE("(as)"),
        G_DBUS_CALL_FLAGS_NONE, -1, cancellable,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            FinishCall(object, result, data, [](Core& core, CallContext&, GVariant* reply, GError* error) {
                if (reply == nullptr) {
                    core.reporter.Error(std::string("cannot list the music players on D-Bus: ") + error->message);
                    return;
                }
                GVariantIter* names = nullptr;
                const char* name = nullptr;
                g_variant_get(reply, "(as)", &names);
                while (g_variant_iter_next(names, "&s", &name)) {
                    if (!MprisNameMatches(name, core.chosen)) continue;
                    g_dbus_connection_call(
                        core.connection, kBusName, kBusPath, kBusName, "GetNameOwner", g_variant_new("(s)", name),
                        G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, -1, core.cancellable,
                        [](GObject* object, GAsyncResult* result, gpointer data) {
                            FinishCall(object, result, data, [](Core& core, CallContext& context, GVariant* reply, GError*) {
                                // No owner any more: the player left before we asked.
                                if (reply == nullptr) return;
                                const char* owner = nullptr;
                                g_variant_get(reply, "(&s)", &owner);
                                core.PlayerCame(context.busName, owner);
                            });
                        },
                        new CallContext{core.self, name, {}});
                }
                g_variant_iter_free(names);
            });
        },
        new CallContext{core, {}, {}});
}

Player* Core::ByBusName(std::string_view busName) {
    auto it = std::find_if(players.begin(), players.end(), [&](const Player& p) { return p.busName == busName; });
    return it == players.end() ? nullptr : &*it;
}

Player* Core::ByOwner(std::string_view owner) {
    auto it = std::find_if(players.begin(), players.end(), [&](const Player& p) { return p.owner == owner; });
    return it == players.end() ? nullptr : &*it;
}

void Core::PlayerCame(const std::string& busName, const std::string& owner) {
    if (Player* known = ByBusName(busName)) {
        if (known->owner == owner) return; // listed and announced both
        PlayerLeft(busName);
    }
    Player player;
    player.busName = busName;
    player.owner = owner;
    players.push_back(std::move(player));
    ReadProperties(players.back());
}

void Core::PlayerLeft(const std::string& busName) {
    auto it = std::find_if(players.begin(), players.end(), [&](const Player& p) { return p.busName == busName; });
    if (it == players.end()) return;
    players.erase(it);
    if (followed == busName) {
        followed.clear();
        if (tracker) tracker->Stop();
    }
    Reconsider();
}

void Core::ReadProperties(const Player& player) {
    g_dbus_connection_call(
        connection, player.owner.c_str(), kMprisPath, kPropertiesInterface, "GetAll",
        g_variant_new("(s)", kPlayerInterface), G_VARIANT_TYPE("(a{sv})"), G_DBUS_CALL_FLAGS_NONE, -1, cancellable,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            FinishCall(object, result, data, [](Core& core, CallContext& context, GVariant* reply, GError* error) {
                Player* player = core.ByBusName(context.busName);
                if (player == nullptr || player->owner != context.owner) return; // gone or replaced
                if (reply == nullptr) {
                    core.reporter.Note("the music player " + context.busName +
                                       " did not tell its state: " + error->message);
                    return;
                }
                GVariant* properties = g_variant_get_child_value(reply, 0);
                core.Apply(*player, properties);
                g_variant_unref(properties);
                player->known = true;
                core.Reconsider();
            });
        },
        new CallContext{self, player.busName, player.owner});
}

void Core::Apply(Player& player, GVariant* properties) {
    const char* status = nullptr;
    if (g_variant_lookup(properties, "PlaybackStatus", "&s", &status)) {
        PlaybackStatus now = MprisPlaybackStatus(status);
        if (now == PlaybackStatus::Playing && player.status != PlaybackStatus::Playing)
            player.playingSince = ++sequence;
        player.status = now;
    }
    if (GVariant* metadata = g_variant_lookup_value(properties, "Metadata", G_VARIANT_TYPE_VARDICT)) {
        player.song = MprisSongFromMetadata(metadata);
        // Two players may both say "track 1": the id names the player too.
        player.song.id = player.busName + '\n' + player.song.id;
        g_variant_unref(metadata);
    }
}

// Keeps following a playing player; otherwise follows the player that most
// recently began playing, if any plays; then tells the listener its state.
void Core::Reconsider() {
    if (!tracker) return;
    Player* current = ByBusName(followed);
    if (current == nullptr || current->status != PlaybackStatus::Playing) {
        Player* latest = nullptr;
        for (Player& player : players)
            if (player.known && player.status == PlaybackStatus::Playing &&
                (latest == nullptr || player.playingSince > latest->playingSince))
                latest = &player;
        if (latest != nullptr) current = latest;
    }
    if (current == nullptr) {
        // Nothing followed yet: follow the first player heard, playing or not.
        for (Player& player : players)
            if (player.known) {
                current = &player;
                break;
            }
        if (current == nullptr) return;
    }
    followed = current->busName;
    if (current->known) tracker->Update(current->status, current->song);
}

void Core::Closed() {
    reporter.Error("the D-Bus connection closed: music players are no longer followed");
    players.clear();
    followed.clear();
    if (tracker) tracker->Stop();
}

MprisSongSource::MprisSongSource(Reporter& reporter, std::optional<std::string> player,
                                 std::optional<std::string> busAddress)
    : core_(std::make_shared<Core>(reporter, std::move(player), std::move(busAddress))) {
    core_->self = core_;
}

MprisSongSource::MprisSongSource(Reporter& reporter, std::optional<std::string> player, GDBusConnection* connection)
    : MprisSongSource(reporter, std::move(player), std::nullopt) {
    if (connection != nullptr) core_->connection = G_DBUS_CONNECTION(g_object_ref(connection));
}

MprisSongSource::~MprisSongSource() = default;

void MprisSongSource::Start(SongListener& listener, std::function<void()>) {
    if (core_->tracker) return; // started already
    core_->tracker.emplace(listener);
    if (core_->connection != nullptr)
        core_->Begin(core_);
    else
        core_->Connect(core_);
}

bool SessionBusReachable() {
    std::string address;
    if (const char* set = std::getenv("DBUS_SESSION_BUS_ADDRESS"); set != nullptr && *set != '\0') {
        address = set;
    } else if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
        std::error_code ec;
        std::filesystem::path socket = std::filesystem::path(runtime) / "bus";
        if (!std::filesystem::is_socket(socket, ec)) return false;
        address = "unix:path=" + socket.string();
    } else {
        return false;
    }
    auto flags = GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                      G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(address.c_str(), flags, nullptr, nullptr, nullptr);
    if (connection == nullptr) return false;
    g_dbus_connection_close_sync(connection, nullptr, nullptr);
    g_object_unref(connection);
    return true;
}

} // namespace zt::host
