// The command line of zoetropica: options, their checks, and the help text.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zt::host {

struct Options {
    std::optional<std::filesystem::path> movies;  // stored as the movie folder before showing
    int width = 640;
    int height = 360;
    double fps = 30;
    std::optional<double> durationSeconds;        // none: until the song list ends
    std::optional<double> snapshotEverySeconds;   // none with --out: every second
    std::optional<std::filesystem::path> outDir;  // snapshots go here
    std::optional<std::filesystem::path> songs;   // the scripted song list
    std::optional<std::filesystem::path> plugin;  // a shared object or a bundle folder
    // Play-list criteria, applied through the plug-in's settings window after
    // the show (the plug-in keeps none between runs); none: the plug-in's own.
    std::optional<int> searchMethod;              // 1 browse, 2 or, 3 and, 4 none
    std::optional<int> playMode;                  // 1 random, 2 in order
    std::optional<std::array<bool, 4>> match;     // genre, artist, album, title
    std::optional<std::filesystem::path> chooseFolder; // picked in the settings window
    // Where the frames go: a window when a display can be opened, unless offscreen.
    bool offscreen = false;
    bool fullscreen = false;
    std::optional<int> monitor;
    // Where the songs come from: the script, an MPD server, or MPRIS players.
    std::optional<std::string> mpd;               // HOST[:PORT]
    std::optional<std::string> player;            // an MPRIS player's name
    bool demo = false;
    bool help = false;
    bool version = false;
};

// The options, or the usage error to print (then exit 2).
struct ParsedCommandLine {
    Options options;
    std::optional<std::string> error;
};

// args: the arguments after the program's name. Options take their value as the
// next argument or after '=' (--fps=25).
ParsedCommandLine ParseCommandLine(std::span<const std::string> args);

std::string HelpText();

// True when any play-list criterion is to be set through the settings window.
bool SetsCriteria(const Options& options);

} // namespace zt::host
