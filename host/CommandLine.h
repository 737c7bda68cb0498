// The command line of zoetropica: options, their checks, and the help text.
#pragma once

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

} // namespace zt::host
