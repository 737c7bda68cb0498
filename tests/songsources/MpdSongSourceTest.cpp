// Following a real MPD server: its songs, pauses and stops reach the listener
// in order with the first Genre and Artist values; a server that is not there
// yet, or goes away, is reported once and followed again when it is back.
#include "MpdSongSource.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "TestMpd.h"

namespace zt::host {
namespace {

using test::RecordingListener;
using Events = std::vector<std::string>;

const std::vector<test::TestTrack> kTracks{
    {"a.flac", {"TITLE=Aurora", "ARTIST=Boards;Canada", "ALBUM=North", "GENRE=Electronic;Ambient"}},
    {"b.flac", {"TITLE=Blue Train", "ARTIST=John Coltrane", "ARTIST=Lee Morgan", "ALBUM=Blue", "GENRE=Jazz",
                "GENRE=Bebop"}},
    {"c.flac", {"TITLE=Cantaloupe", "ARTIST= Herbie "}},
};
constexpr const char* kPlayA = "play Electronic|Boards|North|Aurora";
constexpr const char* kChangeB = "change Jazz|John Coltrane|Blue|Blue Train";
constexpr const char* kChangeC = "change |Herbie||Cantaloupe";

// Retries come quickly so a restart is followed within moments.
constexpr MpdTiming kQuickRetry{std::chrono::milliseconds(1000), std::chrono::milliseconds(100),
                                std::chrono::milliseconds(400)};

class Mpd : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.error().empty()) << server.error(); }
    MpdAddress Address() const { return MpdAddress{"127.0.0.1", server.port()}; }
    void Expect(const Events& events) {
        listener.WaitFor(events.size());
        EXPECT_EQ(listener.events, events) << said.str();
    }
    mpd_connection* control() { return server.control(); }

    test::TestMpd server{kTracks};
    std::ostringstream said;
    Reporter reporter{said};
    RecordingListener listener;
};

TEST_F(Mpd, FollowsPlayNextPauseAndStop) {
    ASSERT_TRUE(server.Start()) << server.error();
    MpdSongSource source(Address(), reporter);
    source.Start(listener, [] { ADD_FAILURE() << "an MPD source never finishes"; });
    ASSERT_TRUE(test::SpinUntil([&] { return source.connected(); })) << said.str();

    // Each step is waited for: MPD answers an idle with "the player changed",
    // and changes quicker than a reading of the state merge into one.
    const std::vector<std::pair<std::function<bool()>, Events>> steps{
        {[&] { return mpd_run_play_pos(control(), 0); }, {kPlayA}},
        {[&] { return mpd_run_next(control()); }, {kChangeB}}, // the second Artist and Genre are not used
        {[&] { return mpd_run_pause(control(), true); }, {"pause"}},
        {[&] { return mpd_run_pause(control(), false); }, {"resume"}},
        {[&] { return mpd_run_pause(control(), true); }, {"pause"}},
        // A song chosen while paused is told when playing resumes.
        {[&] { return mpd_run_seek_pos(control(), 2, 0); }, {}},
        {[&] { return mpd_run_pause(control(), false); }, {kChangeC, "resume"}},
        {[&] { return mpd_run_stop(control()); }, {"stop"}},
        {[&] { return mpd_run_play_pos(control(), 0); }, {kPlayA}},
    };
    Events expected;
    for (const auto& [command, events] : steps) {
        ASSERT_TRUE(command()) << mpd_connection_get_error_message(control());
        expected.insert(expected.end(), events.begin(), events.end());
        if (!events.empty()) Expect(expected);
    }
    EXPECT_EQ(said.str(), "");
}

TEST_F(Mpd, FollowsThroughALocalSocket) {
    ASSERT_TRUE(server.Start()) << server.error();
    Expected<MpdAddress> address = ParseMpdAddress(server.socketPath());
    ASSERT_TRUE(address.ok()) << address.error();
    MpdSongSource source(address.value(), reporter);
    source.Start(listener, [] {});
    ASSERT_TRUE(test::SpinUntil([&] { return source.connected(); })) << said.str();
    ASSERT_TRUE(mpd_run_play_pos(control(), 1));
    Expect({"play Jazz|John Coltrane|Blue|Blue Train"});
}

TEST_F(Mpd, ReportsAnAbsentServerOnceAndFollowsItWhenItComes) {
    MpdSongSource source(Address(), reporter, kQuickRetry);
    source.Start(listener, [] {});
    EXPECT_FALSE(source.connected());
    // A few retries pass unreported.
    test::SpinUntil([] { return false; }, std::chrono::milliseconds(600));
    std::string report = said.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_EQ(report.find("zoetropica: cannot reach MPD at 127.0.0.1:" + std::to_string(server.port()) + " ("), 0u)
        << report;

    ASSERT_TRUE(server.Start()) << server.error();
    EXPECT_TRUE(test::SpinUntil([&] { return source.connected(); }));
    ASSERT_TRUE(mpd_run_play_pos(control(), 0));
    Expect({kPlayA});
    EXPECT_NE(said.str().find("MPD at 127.0.0.1:" + std::to_string(server.port()) + " answers again"),
              std::string::npos) << said.str();

    // The server dies: a stop, one report, and following again once it is back.
    server.Kill();
    Expect({kPlayA, "stop"});
    EXPECT_FALSE(source.connected());
    EXPECT_NE(said.str().find("lost MPD at 127.0.0.1:"), std::string::npos) << said.str();
    ASSERT_TRUE(server.Start()) << server.error();
    EXPECT_TRUE(test::SpinUntil([&] { return source.connected(); }));
    ASSERT_TRUE(mpd_run_play_pos(control(), 1));
    Expect({kPlayA, "stop", "play Jazz|John Coltrane|Blue|Blue Train"});
}

TEST_F(Mpd, ASourceGoneTellsNothingMore) {
    ASSERT_TRUE(server.Start()) << server.error();
    {
        MpdSongSource connecting(Address(), reporter);
        connecting.Start(listener, [] {}); // gone while its connect is under way
    }
    {
        MpdSongSource idling(Address(), reporter);
        idling.Start(listener, [] {});
        ASSERT_TRUE(test::SpinUntil([&] { return idling.connected(); }));
    }
    {
        MpdSongSource retrying(MpdAddress{"127.0.0.1", 1}, reporter, kQuickRetry);
        retrying.Start(listener, [] {});
        ASSERT_TRUE(test::SpinUntil([&] { return !said.str().empty(); })); // its retry is due
    }
    RecordingListener second;
    MpdSongSource source(Address(), reporter);
    source.Start(second, [] {});
    ASSERT_TRUE(test::SpinUntil([&] { return source.connected(); }));
    ASSERT_TRUE(mpd_run_play_pos(control(), 0));
    EXPECT_TRUE(second.WaitFor(1));
    EXPECT_EQ(second.events, Events{kPlayA});
    EXPECT_TRUE(listener.events.empty());
}

// Something that accepts connections but is no MPD server.
TEST_F(Mpd, AServerThatIsNotMpdIsReported) {
    int listening = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listening, 4), 0);
    ASSERT_EQ(getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length), 0);
    unsigned port = ntohs(address.sin_port);
    {
        // Silent: the greeting never comes.
        MpdSongSource source(MpdAddress{"127.0.0.1", port}, reporter,
                             MpdTiming{std::chrono::milliseconds(200), std::chrono::seconds(5), std::chrono::seconds(5)});
        source.Start(listener, [] {});
        EXPECT_TRUE(test::SpinUntil([&] { return !said.str().empty(); }));
        EXPECT_NE(said.str().find("no greeting from the server"), std::string::npos) << said.str();
        EXPECT_FALSE(source.connected());
    }
    close(listening);
    EXPECT_TRUE(listener.events.empty());
}

} // namespace
} // namespace zt::host
