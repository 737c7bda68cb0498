// Reading MPRIS Metadata and PlaybackStatus: strings or arrays of strings,
// ';'-joined names, odd types, and what identifies a song.
#include "MprisMetadata.h"

#include <gtest/gtest.h>

#include "MprisSongSource.h"

namespace zt::host {
namespace {

struct MetadataCase {
    const char* metadata; // GVariant text
    Song song;
    const char* id;
};

TEST(MprisMetadata, FieldsFromStringsArraysAndJoinedNames) {
    const MetadataCase cases[] = {
        {"{'xesam:title': <' So What '>, 'xesam:album': <'Kind of Blue'>, 'xesam:artist': <'Miles Davis; John "
         "Coltrane'>, 'xesam:genre': <'Jazz;Modal'>, 'mpris:trackid': <objectpath '/org/vlc/track/7'>}",
         {"Jazz", "Miles Davis", "Kind of Blue", "So What"},
         "track:/org/vlc/track/7"},
        {"{'xesam:title': <['Anthem', 'Other']>, 'xesam:album': <['', 'Thunder']>, 'xesam:artist': <['', "
         "'Loud;Louder', 'Quiet']>, 'xesam:genre': <['Electronic;Ambient', 'Rock']>, 'mpris:trackid': <'t-9'>}",
         {"Electronic", "Loud", "Thunder", "Anthem"},
         "track:t-9"},
        {"{'xesam:title': <42>, 'xesam:artist': <[1, 2]>, 'xesam:genre': <<'Wrapped;Twice'>>}",
         {"Wrapped", "", "", ""},
         "fields:Wrapped\x1f\x1f\x1f"},
        {"{'xesam:title': <'No Id'>, 'mpris:trackid': <objectpath '/org/mpris/MediaPlayer2/TrackList/NoTrack'>}",
         {"", "", "", "No Id"},
         "fields:\x1f\x1f\x1fNo Id"},
        {"@a{sv} {}", {}, "fields:\x1f\x1f\x1f"},
    };
    for (const MetadataCase& c : cases) {
        GVariant* metadata = g_variant_ref_sink(g_variant_parse(nullptr, c.metadata, nullptr, nullptr, nullptr));
        ASSERT_NE(metadata, nullptr) << c.metadata;
        PlayerSong song = MprisSongFromMetadata(metadata);
        EXPECT_EQ(song.song, c.song) << c.metadata;
        EXPECT_EQ(song.id, c.id) << c.metadata;
        g_variant_unref(metadata);
    }
    EXPECT_EQ(MprisSongFromMetadata(nullptr).song, Song{});
    GVariant* notADictionary = g_variant_ref_sink(g_variant_new_string("xesam:title"));
    EXPECT_EQ(MprisSongFromMetadata(notADictionary).song, Song{});
    g_variant_unref(notADictionary);
}

TEST(MprisMetadata, PlaybackStatusTexts) {
    EXPECT_EQ(MprisPlaybackStatus("Playing"), PlaybackStatus::Playing);
    EXPECT_EQ(MprisPlaybackStatus("Paused"), PlaybackStatus::Paused);
    for (const char* other : {"Stopped", "", "playing", "Buffering"})
        EXPECT_EQ(MprisPlaybackStatus(other), PlaybackStatus::Stopped) << other;
}

TEST(MprisMetadata, PlayerNamesMatchTheChoice) {
    struct {
        const char* busName;
        const char* chosen;
        bool matches;
    } cases[] = {
        {"org.mpris.MediaPlayer2.vlc", "", true},
        {"org.mpris.MediaPlayer2.vlc", "vlc", true},
        {"org.mpris.MediaPlayer2.vlc", "org.mpris.MediaPlayer2.vlc", true},
        {"org.mpris.MediaPlayer2.vlc.instance42", "vlc", true},
        {"org.mpris.MediaPlayer2.vlcx", "vlc", false},
        {"org.mpris.MediaPlayer2.rhythmbox", "vlc", false},
        {"org.mpris.MediaPlayer2.", "", false},
        {"org.mpris.MediaPlayer2", "", false},
        {"org.example.vlc", "vlc", false},
        {":1.42", "", false},
    };
    for (const auto& c : cases) EXPECT_EQ(MprisNameMatches(c.busName, c.chosen), c.matches) << c.busName << " / " << c.chosen;
}

} // namespace
} // namespace zt::host
