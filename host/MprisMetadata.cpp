#include "MprisMetadata.h"

#include "SongFields.h"

namespace zt::host {

namespace {

// The track id players use to say "no track".
constexpr std::string_view kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

bool IsText(GVariant* value) {
    return g_variant_is_of_type(value, G_VARIANT_TYPE_STRING) ||
           g_variant_is_of_type(value, G_VARIANT_TYPE_OBJECT_PATH);
}

// The first non-empty text of a value that is a string or an array of them
// (a value wrapped in a variant is unwrapped first); each entry goes through
// pick, which trims it or keeps its first ';' entry.
std::string FirstText(GVariant* value, std::string (*pick)(std::string_view)) {
    if (value == nullptr) return {};
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_VARIANT)) {
        GVariant* inner = g_variant_get_variant(value);
        std::string text = FirstText(inner, pick);
        g_variant_unref(inner);
        return text;
    }
    if (IsText(value)) return pick(g_variant_get_string(value, nullptr));
    if (!g_variant_is_container(value) || !g_variant_type_is_array(g_variant_get_type(value))) return {};
    std::string text;
    size_t count = g_variant_n_children(value);
    for (size_t i = 0; i < count && text.empty(); ++i) {
        GVariant* child = g_variant_get_child_value(value, i);
        if (IsText(child)) text = pick(g_variant_get_string(child, nullptr));
        g_variant_unref(child);
    }
    return text;
}

std::string Field(GVariant* metadata, const char* key, std::string (*pick)(std::string_view)) {
    GVariant* value = g_variant_lookup_value(metadata, key, nullptr);
    std::string text = FirstText(value, pick);
    if (value != nullptr) g_variant_unref(value);
    return text;
}

} // namespace

PlaybackStatus MprisPlaybackStatus(std::string_view text) {
    if (text == "Playing") return PlaybackStatus::Playing;
    if (text == "Paused") return PlaybackStatus::Paused;
    return PlaybackStatus::Stopped;
}

PlayerSong MprisSongFromMetadata(GVariant* metadata) {
    PlayerSong result;
    if (metadata == nullptr || !g_variant_is_of_type(metadata, G_VARIANT_TYPE_VARDICT)) {
        result.id = "fields:";
        return result;
    }
    Song& song = result.song;
    song.title = Field(metadata, "xesam:title", TrimmedField);
    song.album = Field(metadata, "xesam:album", TrimmedField);
    song.artist = Field(metadata, "xesam:artist", FirstFieldEntry);
    song.genre = Field(metadata, "xesam:genre", FirstFieldEntry);

    std::string trackId = Field(metadata, "mpris:trackid", TrimmedField);
    if (!trackId.empty() && trackId != kNoTrack)
        result.id = "track:" + trackId;
    else
        result.id = "fields:" + song.genre + '\x1f' + song.artist + '\x1f' + song.album + '\x1f' + song.title;
    return result;
}

} // namespace zt::host
