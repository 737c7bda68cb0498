// Following MPRIS players on a private bus: players of the tests' own come and
// go, play, change songs, pause and stop; the listener (or, through a showing,
// a recording plug-in) gets the right events and song strings in order.
#include "MprisSongSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "FakePlugin.h"
#include "PluginConnection.h"
#include "TestBus.h"
#include "VisualSession.h"

namespace zt::host {
namespace {

using test::RecordingListener;
using test::TestPlayer;
using Events = std::vector<std::string>;

constexpr const char* kSongA =
    "{'mpris:trackid': <objectpath '/track/a'>, 'xesam:title': <'Aurora'>, 'xesam:album': <'North'>, "
    "'xesam:artist': <'Boards;Canada'>, 'xesam:genre': <'Electronic;Ambient'>}";
constexpr const char* kSongB =
    "{'mpris:trackid': <objectpath '/track/b'>, 'xesam:title': <['Blue Train']>, 'xesam:album': <['Blue']>, "
    "'xesam:artist': <['John Coltrane', 'Lee Morgan']>, 'xesam:genre': <[' Jazz ; Hard Bop', 'Bebop']>}";
// No track id: the fields tell it apart.
constexpr const char* kSongC =
    "{'xesam:title': <'Cantaloupe'>, 'xesam:artist': <['Herbie']>, 'xesam:genre': <'Funk'>}";
constexpr const char* kSongD = "{'xesam:title': <'Dune'>, 'xesam:genre': <['Score']>}";

constexpr const char* kTextA = "Electronic|Boards|North|Aurora";
constexpr const char* kTextB = "Jazz|John Coltrane|Blue|Blue Train";
constexpr const char* kTextC = "Funk|Herbie||Cantaloupe";
constexpr const char* kTextD = "Score|||Dune";

std::string Event(const char* kind, const char* text) { return std::string(kind) + ' ' + text; }

class Mpris : public testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(bus.address().empty()) << bus.error(); }

    std::unique_ptr<TestPlayer> NewPlayer(const std::string& name) {
        auto player = std::make_unique<TestPlayer>(bus.address(), "org.mpris.MediaPlayer2." + name);
        EXPECT_TRUE(player->connected());
        return player;
    }
    std::unique_ptr<MprisSongSource> Follow(std::optional<std::string> player = std::nullopt) {
        auto source = std::make_unique<MprisSongSource>(reporter, std::move(player), bus.address());
        source->Start(listener, [] { ADD_FAILURE() << "an MPRIS source never finishes"; });
        return source;
    }
    // Waits for the events so far to be exactly these.
    void Expect(const Events& events) {
        listener.WaitFor(events.size());
        EXPECT_EQ(listener.events, events) << said.str();
    }

    test::TestBus bus;
    std::ostringstream said;
    Reporter reporter{said};
    RecordingListener listener;
};

TEST_F(Mpris, FollowsOnePlayerThroughItsSongsAndStates) {
    auto player = NewPlayer("one");
    player->Set("Playing", kSongA);
    ASSERT_TRUE(player->Appear());
    auto source = Follow(); // the player is found by listing the bus

    Events expected{Event("play", kTextA)};
    Expect(expected);
    player->SetMetadata(kSongB);
    expected.push_back(Event("change", kTextB));
    Expect(expected);
    player->SetStatus("Paused");
    player->SetStatus("Playing");
    expected.insert(expected.end(), {"pause", "resume"});
    Expect(expected);
    // A song chosen while paused (announced without its value) waits for the resume.
    player->SetStatus("Paused");
    player->InvalidateMetadata(kSongC);
    player->SetMetadata(kSongD);
    player->SetStatus("Playing");
    expected.insert(expected.end(), {"pause", Event("change", kTextD), "resume"});
    Expect(expected);
    player->SetStatus("Stopped");
    player->Set("Playing", kSongC);
    expected.insert(expected.end(), {"stop", Event("play", kTextC)});
    Expect(expected);
    ASSERT_TRUE(player->Vanish());
    expected.push_back("stop");
    Expect(expected);
    EXPECT_EQ(said.str(), "");
}

TEST_F(Mpris, FollowsThePlayingOneOfTwoPlayers) {
    auto source = Follow(); // the players are heard arriving
    auto one = NewPlayer("one");
    auto two = NewPlayer("two");
    one->Set("Paused", kSongA);
    ASSERT_TRUE(one->Appear());
    two->Set("Playing", kSongB);
    ASSERT_TRUE(two->Appear());
    Events expected{Event("play", kTextB)};
    Expect(expected);

    // The followed one pauses, then the other plays: follow the other. (The
    // two players' announcements are not ordered on the bus: wait between.)
    two->SetStatus("Paused");
    expected.push_back("pause");
    Expect(expected);
    one->SetStatus("Playing");
    expected.insert(expected.end(), {Event("change", kTextA), "resume"});
    Expect(expected);
    // While it plays, the other one is not followed.
    two->Set("Playing", kSongC);
    one->SetMetadata(kSongD);
    expected.push_back(Event("change", kTextD));
    Expect(expected);
    // It leaves: stopped, then the one still playing is followed.
    ASSERT_TRUE(one->Vanish());
    expected.insert(expected.end(), {"stop", Event("play", kTextC)});
    Expect(expected);
    two->SetStatus("Stopped");
    expected.push_back("stop");
    Expect(expected);
}

TEST_F(Mpris, FollowsOnlyTheNamedPlayer) {
    for (const char* chosen : {"two", "org.mpris.MediaPlayer2.two"}) {
        SCOPED_TRACE(chosen);
        listener.events.clear();
        auto one = NewPlayer("one");
        auto two = NewPlayer("two");
        one->Set("Playing", kSongA);
        two->Set("Paused", kSongB);
        ASSERT_TRUE(one->Appear());
        ASSERT_TRUE(two->Appear());
        auto source = Follow(chosen);
        two->SetStatus("Playing");
        Expect({Event("play", kTextB)});
        one->SetMetadata(kSongC);
        ASSERT_TRUE(one->Vanish());
        two->SetStatus("Stopped");
        Expect({Event("play", kTextB), "stop"});
    }
}

TEST_F(Mpris, ASourceGoneBeforeItsRepliesTellsNothing) {
    auto player = NewPlayer("one");
    player->Set("Playing", kSongA);
    ASSERT_TRUE(player->Appear());
    RecordingListener early;
    {
        MprisSongSource gone(reporter, std::nullopt, bus.address());
        gone.Start(early, [] {});
    }
    auto source = Follow();
    Expect({Event("play", kTextA)});
    player->SetStatus("Paused");
    Expect({Event("play", kTextA), "pause"});
    EXPECT_TRUE(early.events.empty());
}

TEST_F(Mpris, AnUnreachableBusIsReported) {
    test::TempFolder nowhere;
    MprisSongSource source(reporter, std::nullopt, "unix:path=" + (nowhere / "no-bus").string());
    source.Start(listener, [] {});
    EXPECT_TRUE(test::SpinUntil([&] { return !said.str().empty(); }));
    EXPECT_NE(said.str().find("cannot reach the D-Bus bus at unix:path="), std::string::npos) << said.str();
    EXPECT_TRUE(listener.events.empty());
}

// Sets an environment variable for a scope (unset: none), then puts it back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(Mpris, SessionBusReachableOnlyWhenABusAnswers) {
    test::TempFolder runtime;
    {
        ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", bus.address());
        EXPECT_TRUE(SessionBusReachable());
    }
    {
        ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (runtime / "bus").string());
        EXPECT_FALSE(SessionBusReachable());
    }
    {
        ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
        ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path().string());
        EXPECT_FALSE(SessionBusReachable()) << "no bus socket in the runtime folder";
    }
}

// --- Through a showing of the visualizer, to a recording plug-in.

// An output that is only a size.
class MemoryOutput final : public VisualOutput {
  public:
    CGrafPtr port() const override { return reinterpret_cast<CGrafPtr>(const_cast<int*>(&token_)); }
    Rect drawRect() const override { return Rect{0, 0, 90, 160}; }
    void FrameDrawn(std::chrono::microseconds) override {}
    void Finish(std::chrono::microseconds) override {}
    bool healthy() const override { return true; }
    void SetResizeListener(std::function<void()>) override {}

  private:
    int token_ = 0;
};

std::vector<std::string> gTrackStrings; // genre|artist|album|name of each 'vply' and 'ctrk'

std::string Text(const Str255 s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

OSStatus RecordingHandler(OSType message, VisualPluginMessageInfo* info, void* refCon) {
    if (message == kVisualPluginPlayMessage || message == kVisualPluginChangeTrackMessage) {
        const ITTrackInfo* t = info->playMessage.trackInfo;
        gTrackStrings.push_back(Text(t->genre) + '|' + Text(t->artist) + '|' + Text(t->album) + '|' + Text(t->name));
    }
    return test::FakeHandler(message, info, refCon);
}

TEST_F(Mpris, APluginHearsThePlayerThroughAShowing) {
    test::TempFolder scratch;
    test::FakePlugin fake;
    fake.registration.handler = RecordingHandler;
    gTrackStrings.clear();
    PluginConnection connection(&test::FakeEntry, scratch / "Fake.so", reporter,
                                [&](std::string_view) { return scratch / "named-data"; });
    ASSERT_FALSE(connection.Register());
    ASSERT_FALSE(connection.InitialiseVisual());
    MemoryOutput output;
    auto player = NewPlayer("vlc");
    ASSERT_TRUE(player->Appear());
    {
        VisualSession session(connection, output, 60, reporter, nullptr);
        MprisSongSource source(reporter, "vlc", bus.address());
        session.Show();
        source.Start(session, [] {});
        // Waits for a message after the ones seen so far.
        size_t seen = 0;
        auto heard = [&](const char* code) {
            return test::SpinUntil([&] {
                auto it = std::find(fake.messages.begin() + long(seen), fake.messages.end(), code);
                if (it == fake.messages.end()) return false;
                seen = size_t(it - fake.messages.begin()) + 1;
                return true;
            });
        };
        player->Set("Playing", kSongA);
        EXPECT_TRUE(heard("'vply'"));
        EXPECT_TRUE(heard("'vrnd'")) << "frames render while a song plays";
        player->SetMetadata(kSongB);
        EXPECT_TRUE(heard("'ctrk'"));
        player->SetStatus("Paused");
        EXPECT_TRUE(heard("'vpau'"));
        player->SetStatus("Playing");
        EXPECT_TRUE(heard("'vunp'"));
        ASSERT_TRUE(player->Vanish());
        EXPECT_TRUE(heard("'vstp'"));
        EXPECT_TRUE(heard("'null'")) << "idle frames once stopped";
        session.Hide();
    }
    connection.CleanUp();
    std::vector<std::string> songMessages;
    for (const auto& m : fake.messages)
        if (m == "'vply'" || m == "'ctrk'" || m == "'vpau'" || m == "'vunp'" || m == "'vstp'") songMessages.push_back(m);
    EXPECT_EQ(songMessages, (Events{"'vply'", "'ctrk'", "'vpau'", "'vunp'", "'vstp'"}));
    EXPECT_EQ(gTrackStrings, (Events{kTextA, kTextB}));
}

} // namespace
} // namespace zt::host
