// Where an MPD server listens, as the person writes it after --mpd:
// HOST[:PORT] with port 6600 by default; an IPv6 address may stand in brackets
// ("[::1]:6601") or bare ("::1", then with the default port); a path starting
// with '/' (or an abstract socket name starting with '@') is a local socket.
#pragma once

#include <string>
#include <string_view>

#include "Expected.h"

namespace zt::host {

inline constexpr unsigned kMpdDefaultPort = 6600;

struct MpdAddress {
    std::string host;              // a name, an IPv4 or IPv6 address (no brackets), or a socket path
    unsigned port = kMpdDefaultPort; // unused for a socket path
    bool operator==(const MpdAddress&) const = default;

    // As it is written back in messages: "host:6600", "[::1]:6600", "/run/mpd/socket".
    std::string Text() const;
};

// The address, or the reason it is not one ("bad MPD address ...: ...").
Expected<MpdAddress> ParseMpdAddress(std::string_view text);

} // namespace zt::host
