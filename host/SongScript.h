// The scripted song list: one timed event a line.
//
//   SECONDS EVENT [GENRE | ARTIST | ALBUM | TITLE]
//
// EVENT is play, change, pause, resume or stop; play and change carry the four
// song fields separated by '|' (a field may be empty; blanks around '|' are
// trimmed). A '#' at the start of a line or after a blank starts a comment, so
// "C#" stays in a title but "Take #5" does not. Blank lines are skipped. Times
// are seconds from the start, never earlier than the line before.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zt::host {

struct Song {
    std::string genre;
    std::string artist;
    std::string album;
    std::string title;
    bool operator==(const Song&) const = default;
};

enum class SongEventKind { Play, Change, Pause, Resume, Stop };

struct SongEvent {
    std::chrono::microseconds at{0}; // from the start of the script
    SongEventKind kind = SongEventKind::Play;
    Song song;                       // play and change only
    bool operator==(const SongEvent&) const = default;
};

struct SongScriptError {
    int line = 0; // 1-based
    std::string message;
};

// The events of a script, or the first malformed line.
struct SongScript {
    std::vector<SongEvent> events;
    std::optional<SongScriptError> error;
};

// The latest time a script may name: about eleven and a half days.
inline constexpr double kMaxScriptSeconds = 1'000'000.0;

SongScript ParseSongScript(std::string_view text);

const char* SongEventName(SongEventKind kind);

} // namespace zt::host
