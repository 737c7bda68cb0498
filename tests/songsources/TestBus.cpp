#include "TestBus.h"

#include <fstream>

namespace zt::host::test {

namespace {

constexpr const char* kPath = "/org/mpris/MediaPlayer2";
constexpr const char* kInterface = "org.mpris.MediaPlayer2.Player";

constexpr const char* kIntrospection =
    "<node><interface name='org.mpris.MediaPlayer2.Player'>"
    "<property name='PlaybackStatus' type='s' access='read'/>"
    "<property name='Metadata' type='a{sv}' access='read'/>"
    "</interface></node>";

GVariant* ParsedMetadata(const char* text) {
    GError* error = nullptr;
    GVariant* value = g_variant_parse(G_VARIANT_TYPE_VARDICT, text, nullptr, nullptr, &error);
    if (value == nullptr) {
        g_printerr("bad test metadata %s: %s\n", text, error->message);
        g_error_free(error);
        std::abort();
    }
    return g_variant_ref_sink(value);
}

} // namespace

TestBus::TestBus() {
    const char* program = ZT_DBUS_DAEMON;
    if (!std::filesystem::exists(program)) {
        error_ = std::string("dbus-daemon is missing (") + program + "): scripts/setup installs it";
        return;
    }
    std::ofstream(folder_ / "bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type>\n"
           "<listen>unix:path="
        << (folder_ / "bus").string()
        << "</listen>\n<auth>EXTERNAL</auth>\n"
           "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{program, "--config-file=" + (folder_ / "bus.conf").string(), "--nofork",
                                 "--print-address=1"},
        true);
    std::optional<std::string> line = daemon_->ReadLine(std::chrono::seconds(10));
    if (!line || line->empty())
        error_ = "dbus-daemon did not start";
    else
        address_ = *line;
}

TestPlayer::TestPlayer(const std::string& address, std::string busName) : busName_(std::move(busName)) {
    metadata_ = ParsedMetadata("@a{sv} {}");
    auto flags = GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                      G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    connection_ = g_dbus_connection_new_for_address_sync(address.c_str(), flags, nullptr, nullptr, nullptr);
    if (connection_ == nullptr) return;
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
    static const GDBusInterfaceVTable vtable{nullptr, &TestPlayer::GetProperty, nullptr, {}};
    registration_ = g_dbus_connection_register_object(connection_, kPath, node->interfaces[0], &vtable, this,
                                                      nullptr, nullptr);
    g_dbus_node_info_unref(node);
}

TestPlayer::~TestPlayer() {
    if (connection_ != nullptr) {
        if (registration_ != 0) g_dbus_connection_unregister_object(connection_, registration_);
        g_dbus_connection_close_sync(connection_, nullptr, nullptr);
        g_object_unref(connection_);
    }
    g_variant_unref(metadata_);
}

GVariant* TestPlayer::GetProperty(GDBusConnection*, const char*, const char*, const char*, const char* property,
                                  GError**, gpointer self) {
    auto* player = static_cast<TestPlayer*>(self);
    if (g_strcmp0(property, "PlaybackStatus") == 0) return g_variant_new_string(player->status_.c_str());
    return g_variant_ref(player->metadata_);
}

static bool CallBus(GDBusConnection* connection, const char* method, GVariant* arguments) {
    GVariant* reply = g_dbus_connection_call_sync(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", method, arguments, nullptr,
                                                  G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (reply == nullptr) return false;
    g_variant_unref(reply);
    return true;
}

bool TestPlayer::Appear() {
    return connected() && CallBus(connection_, "RequestName", g_variant_new("(su)", busName_.c_str(), 0u));
}

bool TestPlayer::Vanish() {
    return connected() && CallBus(connection_, "ReleaseName", g_variant_new("(s)", busName_.c_str()));
}

void TestPlayer::Announce(GVariant* changed, GVariant* invalidated) {
    g_dbus_connection_emit_signal(connection_, nullptr, kPath, "org.freedesktop.DBus.Properties",
                                  "PropertiesChanged", g_variant_new("(s@a{sv}@as)", kInterface, changed, invalidated),
                                  nullptr);
    g_dbus_connection_flush_sync(connection_, nullptr, nullptr);
}

static GVariant* NoNames() { return g_variant_new_strv(nullptr, 0); }

void TestPlayer::SetStatus(const char* status) {
    status_ = status;
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&changed, "{sv}", "PlaybackStatus", g_variant_new_string(status));
    Announce(g_variant_builder_end(&changed), NoNames());
}

void TestPlayer::SetMetadata(const char* metadata) {
    g_variant_unref(metadata_);
    metadata_ = ParsedMetadata(metadata);
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&changed, "{sv}", "Metadata", metadata_);
    Announce(g_variant_builder_end(&changed), NoNames());
}

void TestPlayer::Set(const char* status, const char* metadata) {
    status_ = status;
    g_variant_unref(metadata_);
    metadata_ = ParsedMetadata(metadata);
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&changed, "{sv}", "Metadata", metadata_);
    g_variant_builder_add(&changed, "{sv}", "PlaybackStatus", g_variant_new_string(status));
    Announce(g_variant_builder_end(&changed), NoNames());
}

void TestPlayer::InvalidateMetadata(const char* metadata) {
    g_variant_unref(metadata_);
    metadata_ = ParsedMetadata(metadata);
    const char* names[] = {"Metadata"};
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE_VARDICT);
    Announce(g_variant_builder_end(&changed), g_variant_new_strv(names, 1));
}

} // namespace zt::host::test
