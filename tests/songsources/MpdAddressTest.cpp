// The --mpd address: host and port, IPv6 with or without brackets, local
// sockets, and a clear error for everything else.
#include "MpdAddress.h"

#include <gtest/gtest.h>

namespace zt::host {
namespace {

TEST(MpdAddress, GoodAddresses) {
    const std::pair<const char*, MpdAddress> cases[] = {
        {"localhost", {"localhost", 6600}},
        {"music.example.org:6601", {"music.example.org", 6601}},
        {"127.0.0.1:1", {"127.0.0.1", 1}},
        {"127.0.0.1:65535", {"127.0.0.1", 65535}},
        {"[::1]:6700", {"::1", 6700}},
        {"[::1]", {"::1", 6600}},
        {"::1", {"::1", 6600}},
        {"fe80::1%eth0", {"fe80::1%eth0", 6600}},
        {"[2001:db8::7]:6600", {"2001:db8::7", 6600}},
        {"/run/mpd/socket", {"/run/mpd/socket", 6600}},
        {"@mpd", {"@mpd", 6600}},
    };
    for (const auto& [text, expected] : cases) {
        Expected<MpdAddress> parsed = ParseMpdAddress(text);
        ASSERT_TRUE(parsed.ok()) << text << ": " << parsed.error();
        EXPECT_EQ(parsed.value(), expected) << text;
    }
    EXPECT_EQ(ParseMpdAddress("::1").value().Text(), "[::1]:6600");
    EXPECT_EQ(ParseMpdAddress("host:7").value().Text(), "host:7");
}

TEST(MpdAddress, BadAddressesSayWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "empty"},
        {"host:", "port"},
        {":6600", "host is missing"},
        {"host:0", "port"},
        {"host:65536", "port"},
        {"host:123456", "port"},
        {"host:66a", "port"},
        {"host:-1", "port"},
        {"[::1", "no ']'"},
        {"[::1]6600", "':PORT'"},
        {"[]:6600", "IPv6"},
        {"[host]:6600", "IPv6"},
        {"music box:6600", "characters"},
        {"host:66:00", "IPv6"},
        {"/", "no name"},
    };
    for (const auto& [text, why] : cases) {
        Expected<MpdAddress> parsed = ParseMpdAddress(text);
        ASSERT_FALSE(parsed.ok()) << '"' << text << "\" parsed";
        EXPECT_NE(parsed.error().find("bad MPD address"), std::string::npos) << parsed.error();
        EXPECT_NE(parsed.error().find(why), std::string::npos) << parsed.error();
    }
}

} // namespace
} // namespace zt::host
