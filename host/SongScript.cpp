#include "SongScript.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "Utf8.h"

namespace zt::host {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The line without its comment: a '#' at the start or after a blank.
std::string_view WithoutComment(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || IsBlank(line[i - 1]))) return line.substr(0, i);
    }
    return line;
}

// Splits off the first word, which ends at a blank or (for the event before
// its song fields) at a '|'.
std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end]) && rest[end] != '|') ++end;
    std::string_view word = rest.substr(0, end);
    rest = Trim(rest.substr(end));
    return word;
}

std::optional<SongEventKind> EventNamed(std::string_view word) {
    static constexpr std::array<std::pair<std::string_view, SongEventKind>, 5> kEvents{{
        {"play", SongEventKind::Play},
        {"change", SongEventKind::Change},
        {"pause", SongEventKind::Pause},
        {"resume", SongEventKind::Resume},
        {"stop", SongEventKind::Stop},
    }};
    for (const auto& [name, kind] : kEvents)
        if (name == word) return kind;
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

struct LineResult {
    std::optional<SongEvent> event; // none for a blank or comment line
    std::optional<std::string> error;
};

LineResult ParseLine(std::string_view line) {
    if (!IsValidUtf8(line)) return {{}, "the line is not valid UTF-8"};
    std::string_view rest = Trim(WithoutComment(line));
    if (rest.empty()) return {};

    std::string_view timeWord = NextWord(rest);
    double seconds = 0;
    auto [end, ec] = std::from_chars(timeWord.data(), timeWord.data() + timeWord.size(), seconds);
    if (ec != std::errc() || end != timeWord.data() + timeWord.size() || !std::isfinite(seconds))
        return {{}, Quoted(timeWord) + " is not a time in seconds"};
    if (seconds < 0) return {{}, "the time " + std::string(timeWord) + " is negative"};
    if (seconds > kMaxScriptSeconds)
        return {{}, "the time " + std::string(timeWord) + " is too late (at most 1000000 seconds)"};

    std::string_view eventWord = NextWord(rest);
    if (eventWord.empty()) return {{}, "the event is missing after the time"};
    std::optional<SongEventKind> kind = EventNamed(eventWord);
    if (!kind)
        return {{}, "unknown event " + Quoted(eventWord) +
                        " (expected play, change, pause, resume or stop)"};

    SongEvent event;
    event.at = std::chrono::microseconds(std::llround(seconds * 1e6));
    event.kind = *kind;
    bool takesSong = *kind == SongEventKind::Play || *kind == SongEventKind::Change;
    if (!takesSong) {
        if (!rest.empty())
            return {{}, std::string(eventWord) + " takes no song fields, found " + Quoted(rest)};
        return {event, {}};
    }

    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        size_t bar = rest.find('|', start);
        fields.push_back(Trim(rest.substr(start, bar == std::string_view::npos ? bar : bar - start)));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    if (rest.empty() || fields.size() != 4) {
        return {{}, std::string(eventWord) +
                        " needs four song fields, GENRE | ARTIST | ALBUM | TITLE; found " +
                        std::to_string(rest.empty() ? 0 : fields.size())};
    }
    event.song = Song{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                      std::string(fields[3])};
    return {event, {}};
}

// Seconds as a person writes them: 12, 12.5, 0.05.
std::string SecondsText(std::chrono::microseconds t) {
    std::string text = std::to_string(double(t.count()) / 1e6);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

} // namespace

SongScript ParseSongScript(std::string_view text) {
    SongScript script;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);

        LineResult parsed = ParseLine(line);
        if (parsed.error) {
            script.events.clear();
            script.error = SongScriptError{lineNumber, *parsed.error};
            return script;
        }
        if (!parsed.event) continue;
        if (!script.events.empty() && parsed.event->at < script.events.back().at) {
            std::string message = "the time " + SecondsText(parsed.event->at) +
                                  " comes before the previous event's time " +
                                  SecondsText(script.events.back().at);
            script.events.clear();
            script.error = SongScriptError{lineNumber, std::move(message)};
            return script;
        }
        script.events.push_back(std::move(*parsed.event));
    }
    return script;
}

const char* SongEventName(SongEventKind kind) {
    switch (kind) {
    case SongEventKind::Play: return "play";
    case SongEventKind::Change: return "change";
    case SongEventKind::Pause: return "pause";
    case SongEventKind::Resume: return "resume";
    case SongEventKind::Stop: return "stop";
    }
    return "?";
}

} // namespace zt::host
