#include "Program.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <glib-unix.h>
#include <glib.h>
#include <memory>
#include <optional>
#include <sstream>

#include "CommandLine.h"
#include "DeadlineTimer.h"
#include "ExitCodes.h"
#include "Files.h"
#include "MpdSongSource.h"
#include "MprisSongSource.h"
#include "OffscreenOutput.h"
#include "PluginBundle.h"
#include "PluginConnection.h"
#include "ProgramPaths.h"
#include "Reporter.h"
#include "ScriptedSongSource.h"
#include "SettingsByHand.h"
#include "SongScript.h"
#include "VisualSession.h"
#include "WindowOutput.h"
#include "WindowService.h"

namespace zt::host {
namespace {

// The name under which the plug-in keeps its movie folder (an 80-byte FSRef).
constexpr std::string_view kMoviesFolderName = "Movies Folder";
// How long the visualizer stays up after a song list's last event.
constexpr std::chrono::microseconds kAfterLastSong{1'000'000};
constexpr double kDemoSnapshotSeconds = 2;
constexpr int kBrowse = 1;

std::chrono::microseconds Micros(double seconds) {
    return std::chrono::microseconds(std::llround(seconds * 1e6));
}

// A step that failed: what to say and how to exit.
struct Stop {
    int exitCode;
    std::string message;
};

// The demo searches by browse, so each song plays the movies that name it; in
// a window it is watched, offscreen it leaves snapshots.
std::optional<Stop> ApplyDemoDefaults(Options& options, bool windowed, std::ostream& out) {
    if (!options.demo) return std::nullopt;
    std::filesystem::path demo = FindProgramPaths().demoFolder;
    std::error_code ec;
    if (!std::filesystem::is_directory(demo / "movies", ec))
        return Stop{kExitNoMovieFolder, "the demo folder " + demo.string() +
                                            " is missing; build it with the build's demo target "
                                            "(cmake --build BUILD --target demo)"};
    if (!options.movies) options.movies = demo / "movies";
    if (!options.songs) options.songs = demo / "songs.txt";
    if (!options.searchMethod) options.searchMethod = kBrowse;
    if (windowed) {
        out << "zoetropica: the demo plays " << options.movies->string() << " to the songs of "
            << options.songs->string() << " in a window\n";
        return std::nullopt;
    }
    if (!options.snapshotEverySeconds) options.snapshotEverySeconds = kDemoSnapshotSeconds;
    if (!options.outDir) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") +
                              "/zoetropica-demo-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            return Stop{kExitFailed, "cannot make a folder for the demo's snapshots: " +
                                         std::string(std::strerror(errno))};
        options.outDir = pattern;
    }
    out << "zoetropica: the demo plays " << options.movies->string() << " to the songs of "
        << options.songs->string() << "\n";
    return std::nullopt;
}

Expected<std::vector<SongEvent>> ReadSongs(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(file, ec))
        return Failure{"cannot read the song file " + file.string()};
    std::stringstream text;
    text << in.rdbuf();
    SongScript script = ParseSongScript(text.str());
    if (script.error)
        return Failure{"bad song file " + file.string() + ", line " +
                       std::to_string(script.error->line) + ": " + script.error->message};
    return std::move(script.events);
}

std::optional<Stop> CheckMovieFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::exists(folder, ec))
        return Stop{kExitNoMovieFolder, "the movie folder " + folder.string() + " does not exist"};
    if (!std::filesystem::is_directory(folder, ec))
        return Stop{kExitNoMovieFolder, "the movie folder " + folder.string() + " is not a folder"};
    return std::nullopt;
}

// Stores the folder as the plug-in's movie folder, as its settings window would.
// A folder that cannot be referred to stops the run; one that cannot be kept
// for later runs is still used for this one.
std::optional<Stop> StoreMovieFolder(PluginConnection& connection, const std::filesystem::path& folder,
                                     Reporter& reporter) {
    FSRef ref{};
    Boolean isDirectory = false;
    std::string path = std::filesystem::absolute(folder).string();
    OSStatus status = FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, &isDirectory);
    if (status != noErr || !isDirectory)
        return Stop{kExitNoMovieFolder, "cannot refer to the movie folder " + path + " (status " +
                                            std::to_string(status) + ")"};
    std::optional<std::string> problem = connection.namedData()->Set(
        kMoviesFolderName, std::span<const uint8_t>(ref.hidden, sizeof ref.hidden));
    if (problem) reporter.Error("cannot keep the movie folder for later runs: " + *problem);
    return std::nullopt;
}

// The size the plug-in accepts: the asked-for size within its registered limits.
void FitSizeToPlugin(Options& options, const PlayerRegisterVisualPluginMessage& limits,
                     Reporter& reporter) {
    int width = std::clamp(options.width, int(limits.minWidth), int(limits.maxWidth));
    int height = std::clamp(options.height, int(limits.minHeight), int(limits.maxHeight));
    if (width != options.width || height != options.height) {
        reporter.Note("the plug-in takes sizes from " + std::to_string(limits.minWidth) + "x" +
                      std::to_string(limits.minHeight) + " to " + std::to_string(limits.maxWidth) +
                      "x" + std::to_string(limits.maxHeight) + "; using " + std::to_string(width) +
                      "x" + std::to_string(height));
        options.width = width;
        options.height = height;
    }
}

// Where songs come from: the script, else an MPD server, else the MPRIS player
// that plays when there is a session bus, else nowhere (the notice or silent
// movies keep running on idle messages).
std::unique_ptr<SongSource> MakeSongSource(const Options& options, std::vector<SongEvent> events,
                                           Reporter& reporter) {
    if (options.songs) return std::make_unique<ScriptedSongSource>(std::move(events));
    if (options.mpd) {
        Expected<MpdAddress> address = ParseMpdAddress(*options.mpd); // checked on the command line
        if (address) {
            reporter.Note("following the MPD server at " + address.value().Text());
            return std::make_unique<MpdSongSource>(address.value(), reporter);
        }
    }
    if (options.player || SessionBusReachable()) {
        reporter.Note(options.player ? "following the MPRIS player " + *options.player
                                     : std::string("following the MPRIS player that plays"));
        return std::make_unique<MprisSongSource>(reporter, options.player);
    }
    reporter.Note("no song list, no --mpd and no session bus: no song will play");
    return nullptr;
}

// Snapshots of the window's frames at a steady interval, named as offscreen.
class WindowSnapshots {
  public:
    WindowSnapshots(const WindowOutput& window, std::filesystem::path folder,
                    std::chrono::microseconds every, Reporter& reporter)
        : window_(window), folder_(std::move(folder)), every_(every), reporter_(reporter),
          timer_([this] { Take(); }), start_(MonotonicNow()) {
        timer_.ArmAt(start_ + every_);
    }
    int count() const { return count_; }
    bool healthy() const { return healthy_; }

  private:
    void Take() {
        MonotonicTime now = MonotonicNow();
        char name[64];
        std::snprintf(name, sizeof name, "snapshot-%04d-at-%.3fs.png", count_ + 1,
                      double((now - start_).count()) / 1e6);
        if (std::optional<std::string> problem = window_.Snapshot(folder_ / name)) {
            reporter_.Error("cannot write a snapshot: " + *problem);
            healthy_ = false;
            return;
        }
        ++count_;
        timer_.ArmAt(now + every_);
    }

    const WindowOutput& window_;
    std::filesystem::path folder_;
    std::chrono::microseconds every_;
    Reporter& reporter_;
    DeadlineTimer timer_;
    MonotonicTime start_;
    int count_ = 0;
    bool healthy_ = true;
};

// The main loop's run: until the duration, the end of the song list, or a signal.
struct Run {
    GMainLoop* loop = g_main_loop_new(nullptr, false);
    int signal = 0;
    ~Run() { g_main_loop_unref(loop); }

    static gboolean OnSignal(gpointer data, int number) {
        auto* run = static_cast<Run*>(data);
        run->signal = number;
        g_main_loop_quit(run->loop);
        return G_SOURCE_CONTINUE;
    }
};

gboolean OnSigint(gpointer data) { return Run::OnSignal(data, SIGINT); }
gboolean OnSigterm(gpointer data) { return Run::OnSignal(data, SIGTERM); }

int Play(Options options, bool windowed, std::vector<SongEvent> events, std::ostream& out,
         Reporter& reporter) {
    std::filesystem::path pluginPath = options.plugin ? *options.plugin : FindProgramPaths().bundle;
    Expected<PluginBundle> bundle = PluginBundle::Load(pluginPath);
    if (!bundle) {
        reporter.Error(bundle.error());
        return kExitBadBundle;
    }
    // The demo keeps its settings for its own run: the movie folder a person
    // chose stays theirs.
    NamedDataLocation location = [demo = options.demo](std::string_view name) {
        return demo ? std::nullopt : std::optional(NamedDataFileFor(name));
    };
    PluginConnection connection(bundle->entry(), bundle->objectPath(), reporter, location);
    if (auto problem = connection.Register()) {
        reporter.Error(*problem + " (" + bundle->objectPath().string() + ")");
        return kExitBadBundle;
    }
    if (auto problem = connection.InitialiseVisual()) {
        reporter.Error(*problem + " (" + bundle->objectPath().string() + ")");
        return kExitBadBundle;
    }
    FitSizeToPlugin(options, connection.registration(), reporter);
    if (options.movies) {
        if (std::optional<Stop> stop = StoreMovieFolder(connection, *options.movies, reporter)) {
            reporter.Error(stop->message);
            return stop->exitCode;
        }
    }

    // The frames go to a window when the program has one, else to memory.
    std::unique_ptr<VisualOutput> output;
    WindowOutput* window = nullptr;
    OffscreenOutput* offscreen = nullptr;
    if (windowed) {
        auto made = WindowOutput::Make(options.width, options.height,
                                       WindowLimits::FromRegistration(connection.registration()),
                                       WindowOptions{options.fullscreen, options.monitor}, reporter);
        if (!made) {
            reporter.Error(made.error());
            return kExitFailed;
        }
        window = made.value().get();
        output = std::move(made.value());
    } else {
        std::optional<SnapshotPlan> plan;
        if (options.outDir)
            plan = SnapshotPlan{*options.outDir, Micros(options.snapshotEverySeconds.value_or(1))};
        auto made = OffscreenOutput::Make(options.width, options.height, plan, reporter);
        if (!made) {
            reporter.Error(made.error());
            return kExitFailed;
        }
        offscreen = made.value().get();
        output = std::move(made.value());
    }

    Run run;
    guint sigint = g_unix_signal_add(SIGINT, OnSigint, &run);
    guint sigterm = g_unix_signal_add(SIGTERM, OnSigterm, &run);
    DeadlineTimer end([&run] { g_main_loop_quit(run.loop); });
    VisualSession session(connection, *output, options.fps, reporter, &out);
    std::optional<WindowSnapshots> windowSnapshots;
    if (window) {
        window->SetSettingsRequestHandler([&session] { session.Configure(); });
        window->SetQuitRequestHandler([&run] { g_main_loop_quit(run.loop); });
        if (options.outDir)
            windowSnapshots.emplace(*window, *options.outDir,
                                    Micros(options.snapshotEverySeconds.value_or(1)), reporter);
    }
    std::unique_ptr<SongSource> songs = MakeSongSource(options, std::move(events), reporter);

    session.Show();
    MonotonicTime shown = MonotonicNow();
    if (SetsCriteria(options)) {
        if (std::optional<std::string> problem = SetCriteriaByHand(session, options))
            reporter.Error(*problem);
    }
    if (options.durationSeconds) end.ArmAt(shown + Micros(*options.durationSeconds));
    if (songs) {
        songs->Start(session, [&] {
            if (!options.durationSeconds) end.ArmAt(MonotonicNow() + kAfterLastSong);
        });
    }
    if (!options.durationSeconds && !options.songs)
        reporter.Note(window ? "running until the window closes (q, Escape) or Ctrl-C"
                             : "running until interrupted (Ctrl-C)");
    g_main_loop_run(run.loop);

    songs.reset();
    session.Hide();
    g_source_remove(sigint);
    g_source_remove(sigterm);
    connection.CleanUp();

    int snapshots = offscreen ? offscreen->snapshotCount()
                              : windowSnapshots ? windowSnapshots->count() : 0;
    if (options.outDir)
        out << "zoetropica: " << snapshots << " snapshots in " << options.outDir->string() << "\n";
    if (!output->healthy() || (windowSnapshots && !windowSnapshots->healthy())) return kExitFailed;
    return run.signal != 0 ? 128 + run.signal : kExitDone;
}

} // namespace

int RunProgram(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    Reporter reporter(err);
    ParsedCommandLine parsed = ParseCommandLine(args);
    if (parsed.error) {
        err << "zoetropica: " << *parsed.error << "\nTry 'zoetropica --help' for more.\n";
        return kExitUsage;
    }
    Options options = parsed.options;
    if (options.help) {
        out << HelpText();
        return kExitDone;
    }
    if (options.version) {
        out << "zoetropica " << ZT_VERSION << "\n";
        return kExitDone;
    }

    // A window when a display can be opened and none was refused; the settings
    // window then is a real one too, else the toolbox's display-less model.
    bool windowed = !options.offscreen && windows::ChooseBackend() == windows::Backend::Gtk;
    if (options.offscreen) windows::ChooseBackend(true);
    if (!windowed && (options.fullscreen || options.monitor)) {
        reporter.Error("no display can be opened for the window that --fullscreen or --monitor asks for");
        return kExitFailed;
    }
    if (!windowed && !options.offscreen && !options.outDir && !options.demo)
        reporter.Note("no display: drawing offscreen");
    if (std::optional<Stop> stop = ApplyDemoDefaults(options, windowed, out)) {
        reporter.Error(stop->message);
        return stop->exitCode;
    }
    std::vector<SongEvent> events;
    if (options.songs) {
        Expected<std::vector<SongEvent>> read = ReadSongs(*options.songs);
        if (!read) {
            reporter.Error(read.error());
            return kExitBadSongs;
        }
        events = std::move(read.value());
    }
    for (const auto& folder : {options.movies, options.chooseFolder}) {
        if (!folder) continue;
        if (std::optional<Stop> stop = CheckMovieFolder(*folder)) {
            reporter.Error(stop->message);
            return stop->exitCode;
        }
    }
    if (options.outDir) {
        std::error_code ec;
        std::filesystem::create_directories(*options.outDir, ec);
        if (ec || !std::filesystem::is_directory(*options.outDir)) {
            reporter.Error("cannot make the snapshot folder " + options.outDir->string() +
                           (ec ? ": " + ec.message() : ""));
            return kExitFailed;
        }
        out << "zoetropica: snapshots go to " << options.outDir->string() << "\n";
    }
    return Play(std::move(options), windowed, std::move(events), out, reporter);
}

} // namespace zt::host
