// Song text from players and the events a player's states become.
#include "SongFields.h"
#include "SongFieldsTracker.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace zt::host {
namespace {

TEST(SongFields, FirstEntryOfAJoinedFieldTrimmed) {
    const std::pair<const char*, const char*> cases[] = {
        {"Electronic;Ambient", "Electronic"},
        {"  Electronic ; Ambient ", "Electronic"},
        {";Ambient", "Ambient"},   // an empty first entry is skipped
        {" ; ;Jazz;", "Jazz"},
        {"Rock", "Rock"},
        {"\tAC/DC\n", "AC/DC"},
        {"", ""},
        {" ; ; ", ""},
    };
    for (const auto& [joined, first] : cases) EXPECT_EQ(FirstFieldEntry(joined), first) << '"' << joined << '"';
    EXPECT_EQ(TrimmedField("  So What; Take 2  "), "So What; Take 2") << "trimming keeps the ';' inside";
}

// A player's reports in order, and the events the listener must get.
struct TrackerCase {
    const char* name;
    std::vector<std::pair<PlaybackStatus, const char*>> reports; // status and song id (also its title)
    std::vector<std::string> events;
};

TEST(SongFields, TrackerTellsOnlyWhatChanged) {
    using enum PlaybackStatus;
    const TrackerCase cases[] = {
        {"play, change, pause, resume, stop",
         {{Playing, "a"}, {Playing, "a"}, {Playing, "b"}, {Paused, "b"}, {Paused, "b"}, {Playing, "b"}, {Stopped, ""}},
         {"play |||a", "change |||b", "pause", "resume", "stop"}},
        {"a song picked while paused is told on resume, then playing resumes",
         {{Playing, "a"}, {Paused, "a"}, {Paused, "b"}, {Paused, "c"}, {Playing, "c"}},
         {"play |||a", "pause", "change |||c", "resume"}},
        {"paused back to the same song: resume only",
         {{Playing, "a"}, {Paused, "b"}, {Paused, "a"}, {Playing, "a"}},
         {"play |||a", "pause", "resume"}},
        {"a player that starts paused is not playing yet",
         {{Paused, "a"}, {Stopped, ""}, {Paused, "a"}, {Playing, "a"}},
         {"play |||a"}},
        {"stopped while paused, then the same song again: a new play",
         {{Playing, "a"}, {Paused, "a"}, {Stopped, "a"}, {Stopped, ""}, {Playing, "a"}},
         {"play |||a", "pause", "stop", "play |||a"}},
        {"nothing before the first play", {{Stopped, ""}, {Stopped, "a"}}, {}},
    };
    for (const TrackerCase& c : cases) {
        test::RecordingListener listener;
        PlaybackTracker tracker(listener);
        for (const auto& [status, id] : c.reports) tracker.Update(status, PlayerSong{id, Song{"", "", "", id}});
        EXPECT_EQ(listener.events, c.events) << c.name;
    }
}

} // namespace
} // namespace zt::host
