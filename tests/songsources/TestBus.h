// A private D-Bus daemon for one test (its own folder and socket), and a small
// MPRIS player of the tests' own on its own connection to it: it owns its
// name when told to, answers GetAll for PlaybackStatus and Metadata, and
// announces each change with PropertiesChanged as real players do.
#pragma once

#include <gio/gio.h>

#include <memory>
#include <string>

#include "TestSupport.h"

namespace zt::host::test {

class TestBus {
  public:
    TestBus();
    // Empty when the daemon could not be started; error() says why.
    const std::string& address() const { return address_; }
    const std::string& error() const { return error_; }

  private:
    TempFolder folder_;
    std::unique_ptr<ChildProcess> daemon_;
    std::string address_;
    std::string error_;
};

class TestPlayer {
  public:
    // Connects to the bus; the player is not on it under its name yet.
    TestPlayer(const std::string& address, std::string busName);
    ~TestPlayer();
    TestPlayer(const TestPlayer&) = delete;
    TestPlayer& operator=(const TestPlayer&) = delete;

    bool connected() const { return connection_ != nullptr; }
    // Takes and drops its well-known name (the bus announces both).
    bool Appear();
    bool Vanish();

    // Sets a property and announces it. metadata: a GVariant text of type
    // a{sv}, such as "{'xesam:title': <'Song'>}".
    void SetStatus(const char* status);
    void SetMetadata(const char* metadata);
    // Both at once, in one announcement.
    void Set(const char* status, const char* metadata);
    // Sets the metadata but announces only that it changed (no value).
    void InvalidateMetadata(const char* metadata);

  private:
    static GVariant* GetProperty(GDBusConnection*, const char*, const char*, const char*, const char* property,
                                 GError**, gpointer self);
    void Announce(GVariant* changed, GVariant* invalidated);

    std::string busName_;
    GDBusConnection* connection_ = nullptr;
    guint registration_ = 0;
    std::string status_ = "Stopped";
    GVariant* metadata_ = nullptr;
};

} // namespace zt::host::test
