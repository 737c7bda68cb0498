#include "CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>

#include "MpdAddress.h"


namespace zt::host {
namespace {

// The largest visualizer side the toolbox's 16-bit rectangles can describe.
constexpr int kMaxSide = 32767;

std::optional<double> Number(std::string_view text) {
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

using Setter = std::function<std::optional<std::string>(Options&, const std::string&)>;

std::optional<std::string> Seconds(std::optional<double>& into, const std::string& option,
                                   const std::string& value) {
    std::optional<double> seconds = Number(value);
    if (!seconds || *seconds <= 0 || *seconds > 1e6)
        return option + " wants a number of seconds above 0, not \"" + value + "\"";
    into = seconds;
    return std::nullopt;
}

const std::map<std::string, Setter, std::less<>>& ValueOptions() {
    static const std::map<std::string, Setter, std::less<>> options{
        {"--movies", [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--movies wants a folder";
             o.movies = v;
             return std::nullopt;
         }},
        {"--size", [](Options& o, const std::string& v) -> std::optional<std::string> {
             size_t x = v.find('x');
             std::optional<int> w = x == std::string::npos ? std::nullopt : WholeNumber(v.substr(0, x));
             std::optional<int> h = x == std::string::npos ? std::nullopt : WholeNumber(v.substr(x + 1));
             if (!w || !h || *w < 1 || *h < 1 || *w > kMaxSide || *h > kMaxSide)
                 return "--size wants WIDTHxHEIGHT, each 1 to 32767, not \"" + v + "\"";
             o.width = *w;
             o.height = *h;
             return std::nullopt;
         }},
        {"--fps", [](Options& o, const std::string& v) -> std::optional<std::string> {
             std::optional<double> fps = Number(v);
             if (!fps || *fps <= 0 || *fps > 240)
                 return "--fps wants frames per second above 0, at most 240, not \"" + v + "\"";
             o.fps = *fps;
             return std::nullopt;
         }},
        {"--duration", [](Options& o, const std::string& v) {
             return Seconds(o.durationSeconds, "--duration", v);
         }},
        {"--snapshot-every", [](Options& o, const std::string& v) {
             return Seconds(o.snapshotEverySeconds, "--snapshot-every", v);
         }},
        {"--out", [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--out wants a folder";
             o.outDir = v;
             return std::nullopt;
         }},
        {"--songs", [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--songs wants a file";
             o.songs = v;
             return std::nullopt;
         }},
        {"--search", [](Options& o, const std::string& v) -> std::optional<std::string> {
             static const std::map<std::string, int, std::less<>> methods{
                 {"browse", 1}, {"or", 2}, {"and", 3}, {"none", 4}};
             auto method = methods.find(v);
             if (method == methods.end())
                 return "--search wants browse, or, and or none, not \"" + v + "\"";
             o.searchMethod = method->second;
             return std::nullopt;
         }},
        {"--play", [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v == "random") o.playMode = 1;
             else if (v == "order" || v == "in-order") o.playMode = 2;
             else return "--play wants random or order, not \"" + v + "\"";
             return std::nullopt;
         }},
        {"--match", [](Options& o, const std::string& v) -> std::optional<std::string> {
             static const char* const fields[] = {"genre", "artist", "album", "title"};
             std::array<bool, 4> on{};
             std::istringstream names(v);
             std::string name;
             bool any = false;
             while (std::getline(names, name, ',')) {
                 auto field = std::find(std::begin(fields), std::end(fields), name);
                 if (field == std::end(fields) && !(name == "none" && v == "none"))
                     return "--match wants a comma-separated list of genre, artist, album and "
                            "title (or none), not \"" + v + "\"";
                 if (field != std::end(fields)) on[size_t(field - std::begin(fields))] = true;
                 any = true;
             }
             if (!any) return "--match wants genre, artist, album, title, or none";
             o.match = on;
             return std::nullopt;
         }},
        {"--choose-folder", [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--choose-folder wants a folder";
             o.chooseFolder = v;
             return std::nullopt;
         }},
        {"--monitor", [](Options& o, const std::string& v) -> std::optional<std::string> {
             std::optional<int> n = WholeNumber(v);
             if (!n || *n < 0 || *n > 63) return "--monitor wants a monitor number from 0, not \"" + v + "\"";
             o.monitor = n;
             return std::nullopt;
         }},
        {"--mpd", [](Options& o, const std::string& v) -> std::optional<std::string> {
             Expected<MpdAddress> address = ParseMpdAddress(v);
             if (!address) return "--mpd wants HOST[:PORT]: " + address.error();
             o.mpd = v;
             return std::nullopt;
         }},
        {"--player", [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--player wants a player's name";
             o.player = v;
             return std::nullopt;
         }},
        {"--plugin", [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--plugin wants a path";
             o.plugin = v;
             return std::nullopt;
         }},
    };
    return options;
}

} // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string> args) {
    ParsedCommandLine parsed;
    auto fail = [&](std::string message) {
        parsed.error = std::move(message);
        return parsed;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.options.help = true;
            continue;
        }
        if (arg == "--version") {
            parsed.options.version = true;
            continue;
        }
        if (arg == "--demo") {
            parsed.options.demo = true;
            continue;
        }
        if (arg == "--offscreen") {
            parsed.options.offscreen = true;
            continue;
        }
        if (arg == "--fullscreen") {
            parsed.options.fullscreen = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        auto option = ValueOptions().find(name);
        if (option == ValueOptions().end()) {
            if (arg.rfind("-", 0) == 0 && arg.size() > 1) return fail("unknown option " + arg);
            return fail("unexpected argument \"" + arg + "\"");
        }
        if (!value) {
            if (i + 1 >= args.size()) return fail(name + " needs a value");
            value = args[++i];
        }
        if (auto problem = option->second(parsed.options, *value)) return fail(*problem);
    }
    const Options& o = parsed.options;
    if (o.snapshotEverySeconds && !o.outDir && !o.demo)
        return fail("--snapshot-every needs --out DIR, the folder for the snapshots");
    if (int(o.songs.has_value()) + int(o.mpd.has_value()) + int(o.player.has_value()) > 1)
        return fail("--songs, --mpd and --player each choose where songs come from: give one");
    if (o.offscreen && (o.fullscreen || o.monitor))
        return fail("--fullscreen and --monitor are for the window, not --offscreen");
    return parsed;
}

std::string HelpText() {
    return R"(Usage: zoetropica [OPTIONS]

Plays the Zoetropica visual plug-in beside your music: while a song plays it
plays movies from a folder, picking those whose subtitles name the song's
genre, artist, album or title. It shows them in a window (or offscreen, with
PNG snapshots) and follows the music player that is playing.

Movies and choices:
  --movies DIR            store DIR as the plug-in's movie folder, then show it
  --choose-folder DIR     pick DIR in the plug-in's settings window once shown
  --search METHOD         how a song picks movies: browse (narrow down genre,
                          artist, album, title), or, and, none (every movie)
  --play MODE             random or order
  --match FIELDS          the fields or/and search for, comma-separated from
                          genre,artist,album,title (or none)
The plug-in keeps no choices between runs but the folder: --search, --play,
--match and --choose-folder are made in its settings window, as you would.

Songs (the first that applies):
  --songs FILE            a scripted song list (see below)
  --mpd HOST[:PORT]       follow an MPD server (port 6600 by default)
  --player NAME           follow only this MPRIS player (e.g. vlc)
  (default)               follow the MPRIS player that is playing, when there
                          is a session bus; otherwise no song plays
A player's genre or artist may hold several names ("Electronic;Ambient", or a
list): the first one is used.

Output:
  --size WxH              the visualizer's size in pixels (default 640x360)
  --fps N                 frames per second (default 30)
  --offscreen             draw into memory, even when a display is present
                          (the default without a display)
  --fullscreen            start the window full screen
  --monitor N             put the window on monitor N (from 0)
  --out DIR               write PNG snapshots of the visualizer into DIR
  --snapshot-every SECONDS
                          time between snapshots (default 1; needs --out)
  --duration SECONDS      how long to run (default: until the song list ends,
                          otherwise until the window closes or Ctrl-C)

Other:
  --plugin PATH           the plug-in to load: its shared object, or its
                          bundle folder (default: the built or installed one)
  --demo                  play the demo movie folder with the demo song list,
                          searching by browse; offscreen it writes snapshots to
                          a new folder (or --out DIR); it keeps no settings
  -h, --help              this text
  --version               the program's version

In the window: o opens the settings, f, F11 or a double-click toggles full
screen, q or Escape quits; the right button opens a menu.

The song list has one event a line; '#' starts a comment:
  SECONDS EVENT [GENRE | ARTIST | ALBUM | TITLE]
EVENT is play, change, pause, resume or stop; play and change name the song:
  0   play    Jazz | Miles Ahead | Blue Night | So What
  12  change  Rock | The Loud Ones | Thunder Road | Anthem
  20  pause
  22  resume
  30  stop

The plug-in's stored settings live in $XDG_CONFIG_HOME/zoetropica/ (default
~/.config/zoetropica/). Its log goes to standard error, or to the file named
by ZOETROPICA_CONSOLE.

Exit codes: 0 done; 1 the plug-in failed or output could not be written;
2 a bad command line; 3 the movie folder is missing or not a folder; 4 the
bundle will not load or does not register; 5 the song file cannot be read or
is malformed.
)";
}

bool SetsCriteria(const Options& options) {
    return options.searchMethod || options.playMode || options.match || options.chooseFolder;
}

} // namespace zt::host
