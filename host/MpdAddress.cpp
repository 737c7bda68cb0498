#include "MpdAddress.h"

#include <algorithm>
#include <cctype>

namespace zt::host {

namespace {

Failure Bad(std::string_view text, std::string_view why) {
    return Failure{"bad MPD address \"" + std::string(text) + "\": " + std::string(why) +
                   " (expected HOST[:PORT], such as localhost:6600 or [::1]:6600)"};
}

bool IsLocalSocket(std::string_view host) { return !host.empty() && (host[0] == '/' || host[0] == '@'); }

// A host name or address: no blanks, control characters, brackets or '/'.
bool PlausibleHost(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isgraph(c) && c != '[' && c != ']' && c != '/';
    });
}

bool ParsePort(std::string_view digits, unsigned& port) {
    if (digits.empty() || digits.size() > 5) return false;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + unsigned(c - '0');
    }
    if (value == 0 || value > 65535) return false;
    port = value;
    return true;
}

// An IPv6 address: hex digits, ':' and '.', then an optional "%zone".
bool PlausibleIpv6(std::string_view host) {
    std::string_view address = host.substr(0, host.find('%'));
    return address.find("::") != std::string_view::npos || std::count(address.begin(), address.end(), ':') >= 2
               ? std::all_of(address.begin(), address.end(),
                             [](unsigned char c) { return std::isxdigit(c) || c == ':' || c == '.'; })
               : false;
}

} // namespace

std::string MpdAddress::Text() const {
    if (IsLocalSocket(host)) return host;
    bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ':' + std::to_string(port);
}

Expected<MpdAddress> ParseMpdAddress(std::string_view text) {
    if (text.empty()) return Bad(text, "it is empty");
    if (IsLocalSocket(text)) {
        if (text.size() == 1) return Bad(text, "the socket has no name");
        return MpdAddress{std::string(text), kMpdDefaultPort};
    }
    MpdAddress address;
    std::string_view host = text;
    std::string_view port;
    bool hasPort = false;
    if (text[0] == '[') {
        size_t close = text.find(']');
        if (close == std::string_view::npos) return Bad(text, "the '[' has no ']'");
        host = text.substr(1, close - 1);
        std::string_view rest = text.substr(close + 1);
        if (host.empty() || host.find(':') == std::string_view::npos) return Bad(text, "brackets hold an IPv6 address");
        if (!rest.empty()) {
            if (rest[0] != ':') return Bad(text, "only ':PORT' may follow ']'");
            port = rest.substr(1);
            hasPort = true;
        }
    } else if (size_t colon = text.find(':'); colon != std::string_view::npos) {
        // One colon separates the port; more make a bare IPv6 address.
        if (text.find(':', colon + 1) == std::string_view::npos) {
            host = text.substr(0, colon);
            port = text.substr(colon + 1);
            hasPort = true;
        }
    }
    if (host.empty()) return Bad(text, "the host is missing");
    if (!PlausibleHost(host)) return Bad(text, "the host holds characters a host name cannot");
    if (host.find(':') != std::string_view::npos && !PlausibleIpv6(host))
        return Bad(text, "a host with several ':' must be an IPv6 address");
    if (hasPort && !ParsePort(port, address.port)) return Bad(text, "the port must be a number from 1 to 65535");
    address.host = std::string(host);
    return address;
}

} // namespace zt::host
