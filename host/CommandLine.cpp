#include "CommandLine.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>


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
    if (parsed.options.snapshotEverySeconds && !parsed.options.outDir && !parsed.options.demo)
        return fail("--snapshot-every needs --out DIR, the folder for the snapshots");
    return parsed;
}

std::string HelpText() {
    return R"(Usage: zoetropica [OPTIONS]

Plays the Zoetropica visual plug-in: loads the bundle, shows the visualizer
offscreen and tells it which song plays, from a scripted song list.

Options:
  --movies DIR            store DIR as the plug-in's movie folder, then show it
  --songs FILE            the scripted song list (see below)
  --size WxH              the visualizer's size in pixels (default 640x360)
  --fps N                 frames per second (default 30)
  --duration SECONDS      how long to run (default: until the song list ends,
                          and without a song list until interrupted)
  --out DIR               write PNG snapshots of the visualizer into DIR
  --snapshot-every SECONDS
                          time between snapshots (default 1; needs --out)
  --plugin PATH           the plug-in to load: its shared object, or its
                          bundle folder (default: the built bundle)
  --demo                  play the demo movie folder with the demo song list,
                          writing snapshots to a new folder (or --out DIR);
                          the demo keeps no settings after its run
  -h, --help              this text
  --version               the program's version

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

} // namespace zt::host
