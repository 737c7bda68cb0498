// What an MPRIS player's Player properties say, in the tracker's terms: the
// PlaybackStatus text and the Metadata dictionary (a{sv}). Players differ in
// how they send text: xesam:title and xesam:album are strings, xesam:artist and
// xesam:genre arrays of strings, but any of them may come either way, and one
// entry may hold several names joined by ';'. The first artist and genre win.
#pragma once

#include <glib.h>

#include <string_view>

#include "SongFieldsTracker.h"

namespace zt::host {

// "Playing", "Paused" or "Stopped"; anything else counts as stopped.
PlaybackStatus MprisPlaybackStatus(std::string_view text);

// The song of a Metadata dictionary (null or not a{sv}: an empty song). Its id
// is mpris:trackid when the player gives one, else the four fields.
PlayerSong MprisSongFromMetadata(GVariant* metadata);

} // namespace zt::host
