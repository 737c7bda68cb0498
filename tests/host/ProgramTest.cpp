// The real zoetropica program, run as a person runs it, on a generated movie
// folder and song scripts: exit codes and messages for what goes wrong, and
// snapshots, stored settings, movie pixels and the plug-in's log when it works.
#include <gtest/gtest.h>

#include <cairo.h>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "Picture.h"
#include "ScratchFolder.h"

extern char** environ;

namespace zt::host {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;
namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
    std::vector<uint8_t> bytes = ReadBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const fs::path& file, const std::string& text) {
    WriteBytes(file, std::vector<uint8_t>(text.begin(), text.end()));
}

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::string log; // the plug-in's console log
};

// One person's machine: private XDG folders, the plug-in's log in a file, and
// a movie folder of two short movies (one red, one pattern) made once per run.
class Program : public testing::Test {
  protected:
    static inline ScratchFolder* shared = nullptr;
    ScratchFolder home;

    static void SetUpTestSuite() {
        shared = new ScratchFolder;
        fs::create_directories(*shared / "movies");
        fs::create_directories(*shared / "red");
        MakeMovie("--color red --size 96x54 --duration 3 --sample 0:3:Jazz", *shared / "red/red.mp4");
        MakeMovie("--color blue --size 96x54 --duration 3 --sample 0:3:Rock", *shared / "movies/blue.mp4");
        MakeMovie("--pattern --size 96x54 --duration 3 --sample 0:3:Folk", *shared / "movies/pattern.mp4");
        WriteText(*shared / "movies/notes.txt", "not a movie\n");
    }
    static void TearDownTestSuite() {
        delete shared;
        shared = nullptr;
    }
    static void MakeMovie(const std::string& arguments, const fs::path& output) {
        std::string command = std::string(ZT_MOVIEMAKER_PATH) + " " + arguments + " '" +
                              output.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    static fs::path Movies() { return *shared / "movies"; }
    static fs::path RedMovies() { return *shared / "red"; }

    fs::path Songs(const std::string& script) {
        fs::path file = home / "songs.txt";
        WriteText(file, script);
        return file;
    }

    // Runs the program with the arguments; interrupts it (SIGINT) when asked,
    // kills it after a minute.
    Outcome Run(std::vector<std::string> args,
                std::optional<std::chrono::milliseconds> interruptAfter = std::nullopt,
                bool keepDisplay = false) {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            std::string entry = *e;
            // No display and no session bus: the machine of a server or a CI
            // runner, where the program draws offscreen and follows no player.
            bool dropped = false;
            for (const char* prefix : {"XDG_", "ZOETROPICA_", "TMPDIR=", "DISPLAY=",
                                       "WAYLAND_DISPLAY=", "DBUS_SESSION_BUS_ADDRESS="})
                dropped = dropped || entry.rfind(prefix, 0) == 0;
            if (keepDisplay && entry.rfind("DISPLAY=", 0) == 0) dropped = false;
            if (!dropped) env.push_back(entry);
        }
        env.push_back("TMPDIR=" + home.path().string());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
            fs::create_directories(home / name);
            env.push_back(std::string(name) + "=" + (home / name).string());
        }
        env.push_back("ZOETROPICA_CONSOLE=" + (home / "console.log").string());
        // A bare test display has no accessibility bus for GTK to look for.
        if (keepDisplay) env.push_back("NO_AT_BRIDGE=1");

        args.insert(args.begin(), ZT_PROGRAM_PATH);
        std::vector<char*> argv, envp;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        std::string outFile = (home / "stdout").string(), errFile = (home / "stderr").string();
        posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        Outcome outcome;
        int spawned = posix_spawn(&pid, ZT_PROGRAM_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot run " << ZT_PROGRAM_PATH;
            return outcome;
        }
        if (interruptAfter) {
            std::this_thread::sleep_for(*interruptAfter);
            kill(pid, SIGINT);
        }
        int status = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                ADD_FAILURE() << "the program did not end within a minute";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = ReadText(outFile);
        outcome.err = ReadText(errFile);
        outcome.log = ReadText(home / "console.log");
        return outcome;
    }
};

struct FailureCase {
    const char* what;
    std::function<std::vector<std::string>(const fs::path& home)> args;
    int exitCode;
    const char* says; // on standard error
};

TEST_F(Program, FailsClearlyWithItsExitCodes) {
    const FailureCase cases[] = {
        {"a missing folder", [](const fs::path& h) { return std::vector<std::string>{"--movies", (h / "gone").string()}; },
         3, "the movie folder"},
        {"a file for a folder",
         [](const fs::path& h) {
             WriteText(h / "file", "x");
             return std::vector<std::string>{"--movies", (h / "file").string()};
         },
         3, "is not a folder"},
        {"no such plug-in", [](const fs::path& h) { return std::vector<std::string>{"--plugin", (h / "none.so").string()}; },
         4, "cannot load the plug-in"},
        {"a plug-in that is not a library",
         [](const fs::path& h) {
             WriteText(h / "garbage.so", std::string(2000, 'g'));
             return std::vector<std::string>{"--plugin", (h / "garbage.so").string()};
         },
         4, "cannot load the plug-in"},
        {"a bundle folder without a plug-in",
         [](const fs::path& h) {
             fs::create_directories(h / "Empty.bundle");
             return std::vector<std::string>{"--plugin", (h / "Empty.bundle").string()};
         },
         4, "holds no plug-in"},
        {"a library without the entry point",
         [](const fs::path&) { return std::vector<std::string>{"--plugin", ZT_PLATFORM_LIBRARY}; },
         4, "does not export iTunesPluginMainMachO"},
        {"a malformed song file",
         [](const fs::path& h) {
             WriteText(h / "bad.txt", "0 play a | b | c | d\n# fine\n5 dance\n");
             return std::vector<std::string>{"--songs", (h / "bad.txt").string()};
         },
         5, "line 3: unknown event \"dance\""},
        {"a missing song file", [](const fs::path& h) { return std::vector<std::string>{"--songs", (h / "none.txt").string()}; },
         5, "cannot read the song file"},
        {"an unknown option", [](const fs::path&) { return std::vector<std::string>{"--colour", "red"}; }, 2,
         "unknown option --colour"},
        {"a bad size", [](const fs::path&) { return std::vector<std::string>{"--size", "big"}; }, 2, "--size wants"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        Outcome outcome = Run(c.args(home.path()));
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.rfind("zoetropica: ", 0), 0u) << outcome.err;
    }
}

TEST_F(Program, HelpAndVersionGoToStandardOutput) {
    Outcome help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: zoetropica", 0), 0u);
    EXPECT_TRUE(help.err.empty());
    Outcome version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("zoetropica ", 0), 0u);
}

using zt::test::LoadPng;
using zt::test::Picture;

std::vector<fs::path> Snapshots(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(Program, PlaysASongListOffscreenAndWritesSnapshots) {
    fs::path songs = Songs("0 play Jazz | Miles | Blue | So What\n"
                           "0.6 change Rock | Loud | Thunder | Anthem\n"
                           "0.9 pause\n1.0 resume\n1.2 stop\n");
    fs::path out = home / "shots";
    Outcome outcome = Run({"--movies", Movies().string(), "--songs", songs.string(), "--size", "160x90",
                           "--fps", "20", "--out", out.string(), "--snapshot-every", "0.5"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.err.find("misuse"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.out.find("snapshots go to " + out.string()), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("change  Rock | Loud | Thunder | Anthem"), std::string::npos) << outcome.out;

    // Shown at 0, snapshots every half second until 1 s after the last event, and one at the end.
    std::vector<fs::path> shots = Snapshots(out);
    ASSERT_GE(shots.size(), 5u);
    EXPECT_NE(outcome.out.find(std::to_string(shots.size()) + " snapshots in " + out.string()),
              std::string::npos) << outcome.out;
    for (const fs::path& shot : shots) {
        EXPECT_EQ(shot.extension(), ".png");
        Picture picture = LoadPng(shot);
        EXPECT_EQ(picture.width, 160) << shot;
        EXPECT_EQ(picture.height, 90) << shot;
    }
    EXPECT_TRUE(fs::exists(home / "XDG_CONFIG_HOME/zoetropica/Zoetropica.named-data"));
}


// Playback: the movie's own pixels fill the visualizer, and the plug-in builds a
// play list for each song. The stored folder is used again by a run without --movies.
TEST_F(Program, MoviesPlayInTheSnapshotsAndTheStoredFolderIsUsedAgain) {
    fs::path songs = Songs("0 play Jazz | Miles | Blue | So What\n0.8 stop\n");
    Outcome first = Run({"--movies", RedMovies().string(), "--songs", songs.string(), "--size", "96x54",
                         "--fps", "20", "--out", (home / "first").string(), "--snapshot-every", "0.5"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    std::vector<fs::path> shots = Snapshots(home / "first");
    ASSERT_FALSE(shots.empty());
    EXPECT_GT(LoadPng(shots.back()).ShareNear(0xff0000), 0.9) << shots.back();
    EXPECT_NE(first.log.find("START_BUILD_MOVIE_PLAY_LIST"), std::string::npos) << first.log;
    EXPECT_NE(first.log.find("COMPLETE_BUILD_MOVIE_PLAY_LIST"), std::string::npos) << first.log;

    Outcome again = Run({"--duration", "1", "--size", "96x54", "--fps", "20", "--out",
                         (home / "again").string()});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    shots = Snapshots(home / "again");
    ASSERT_FALSE(shots.empty());
    EXPECT_GT(LoadPng(shots.back()).ShareNear(0xff0000), 0.9) << "the folder stored by the first run";
}

// The play-list sizes the plug-in logged, in order.
std::vector<int> ListSizes(const std::string& log) {
    std::vector<int> sizes;
    const std::string label = "Builded Play List Num ";
    for (size_t at = log.find(label); at != std::string::npos; at = log.find(label, at + 1))
        sizes.push_back(std::atoi(log.c_str() + at + label.size()));
    return sizes;
}

// Criteria from the command line reach the plug-in through its settings window
// (the display-less one here): browse plays each song's own movie, and a song
// named nowhere falls back to every movie.
TEST_F(Program, SearchesByBrowseWhenAskedOnTheCommandLine) {
    fs::path songs = Songs("0 play Rock | Loud | Thunder | Anthem\n"
                           "0.5 change Folk | Quiet | Meadow | Lullaby\n"
                           "1.0 change Polka | Nobody | Nowhere | Nothing\n"
                           "1.5 stop\n");
    Outcome browse = Run({"--movies", Movies().string(), "--songs", songs.string(), "--size", "96x54",
                          "--search", "browse", "--play", "order", "--match", "genre"});
    ASSERT_EQ(browse.exitCode, 0) << browse.err;
    std::vector<int> sizes = ListSizes(browse.log);
    ASSERT_GE(sizes.size(), 3u) << browse.log;
    EXPECT_EQ(std::vector<int>(sizes.end() - 3, sizes.end()), (std::vector<int>{1, 1, 2})) << browse.log;

    Outcome none = Run({"--movies", Movies().string(), "--songs", songs.string(), "--size", "96x54"});
    ASSERT_EQ(none.exitCode, 0) << none.err;
    // The log file is appended to: the second run's lines follow the first's.
    for (int size : ListSizes(none.log.substr(browse.log.size())))
        EXPECT_EQ(size, 2) << "without --search every list is all movies";
}

// A folder picked in the settings window replaces the stored one: it plays at
// once and is what the next run finds.
TEST_F(Program, AFolderChosenInTheSettingsWindowIsPlayedAndKept) {
    fs::path songs = Songs("0 play Jazz | Miles | Blue | So What\n0.8 stop\n");
    Outcome chosen = Run({"--movies", Movies().string(), "--choose-folder", RedMovies().string(),
                          "--songs", songs.string(), "--size", "96x54", "--out",
                          (home / "chosen").string(), "--snapshot-every", "0.5"});
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
    std::vector<fs::path> shots = Snapshots(home / "chosen");
    ASSERT_FALSE(shots.empty());
    EXPECT_GT(LoadPng(shots.back()).ShareNear(0xff0000), 0.9) << shots.back();

    Outcome again = Run({"--duration", "1", "--size", "96x54", "--out", (home / "again").string()});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    shots = Snapshots(home / "again");
    ASSERT_FALSE(shots.empty());
    EXPECT_GT(LoadPng(shots.back()).ShareNear(0xff0000), 0.9) << "the chosen folder was stored";

    Outcome missing = Run({"--choose-folder", (home / "nowhere").string(), "--duration", "0.5",
                           "--size", "96x54"});
    EXPECT_EQ(missing.exitCode, 3) << missing.err;
}

// With a display the program opens its window, and the criteria and folder go
// through the real settings window and folder chooser.
TEST_F(Program, PlaysInAWindowAndSetsItsChoicesInTheRealSettingsWindow) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display (the test run uses Xvfb)";
    fs::path songs = Songs("0 play Jazz | Miles | Blue | So What\n1.2 stop\n");
    Outcome outcome = Run({"--movies", Movies().string(), "--choose-folder", RedMovies().string(),
                           "--search", "browse", "--songs", songs.string(), "--size", "160x90",
                           "--out", (home / "window").string(), "--snapshot-every", "0.5"},
                          std::nullopt, true);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.err.find("offscreen"), std::string::npos) << outcome.err;
    std::vector<int> sizes = ListSizes(outcome.log);
    ASSERT_FALSE(sizes.empty()) << outcome.log;
    EXPECT_EQ(sizes.back(), 1) << "browse over the chosen folder of one movie: " << outcome.log;
    std::vector<fs::path> shots = Snapshots(home / "window");
    ASSERT_FALSE(shots.empty()) << outcome.out;
    EXPECT_GT(LoadPng(shots.back()).ShareNear(0xff0000), 0.9) << shots.back();
}

TEST_F(Program, ADamagedSettingsFileIsReportedAndTheRunGoesOn) {
    fs::path settings = home / "XDG_CONFIG_HOME/zoetropica/Zoetropica.named-data";
    fs::create_directories(settings.parent_path());
    WriteText(settings, "this is not what the host wrote");
    Outcome outcome = Run({"--movies", Movies().string(), "--duration", "0.3", "--size", "96x54"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("is damaged"), std::string::npos) << outcome.err;
    EXPECT_TRUE(fs::exists(settings.string() + ".damaged"));
    EXPECT_GT(ReadBytes(settings).size(), 80u) << "the folder was stored afresh";
}

TEST_F(Program, TheDemoPlaysItsFolderAndKeepsNoSettings) {
    Outcome outcome = Run({"--demo", "--duration", "1", "--size", "96x54"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("the demo plays"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("play    Cosmic Jazz"), std::string::npos) << outcome.out;
    std::vector<fs::path> made;
    for (const auto& entry : fs::directory_iterator(home.path()))
        if (entry.path().filename().string().rfind("zoetropica-demo-", 0) == 0) made.push_back(entry.path());
    ASSERT_EQ(made.size(), 1u) << "a new snapshot folder in TMPDIR";
    EXPECT_NE(outcome.out.find("snapshots in " + made[0].string()), std::string::npos) << outcome.out;
    EXPECT_FALSE(Snapshots(made[0]).empty());
    EXPECT_FALSE(fs::exists(home / "XDG_CONFIG_HOME/zoetropica")) << "the demo stores nothing";
}

TEST_F(Program, LoadsABundleFolder) {
    Outcome outcome = Run({"--plugin", ZT_BUNDLE_FOLDER, "--duration", "0.3", "--size", "96x54"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
}

TEST_F(Program, AnInterruptHidesTheVisualizerBeforeItEnds) {
    Outcome outcome = Run({"--movies", Movies().string(), "--size", "96x54"},
                          std::chrono::milliseconds(1500));
    EXPECT_EQ(outcome.exitCode, 128 + SIGINT) << outcome.err;
    EXPECT_NE(outcome.err.find("running until interrupted"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.log.find("CLEANUP_BUILD_MOVIE_PLAY_LIST"), std::string::npos)
        << "the control thread ended at 'hide': " << outcome.log;
}

} // namespace
} // namespace zt::host
