#include "Fixtures.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace zt::test {

namespace fs = std::filesystem;

// One temporary folder per test process, removed at exit.
static const fs::path& RunFolder() {
    static const fs::path folder = [] {
        char pattern[] = "/tmp/zt-fixtures-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        std::atexit([] { std::error_code ignored; fs::remove_all(RunFolder(), ignored); });
        return fs::path(pattern);
    }();
    return folder;
}

std::string MakeEmptyFolder() {
    static std::atomic<int> serial{0};
    fs::path folder = RunFolder() / ("folder" + std::to_string(serial++));
    fs::create_directories(folder);
    return folder.string();
}

static void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

void MakeMovie(const std::string& path, const std::vector<std::string>& arguments) {
    std::string command = "'" ZT_MOVIEMAKER "'";
    for (const auto& argument : arguments) {
        std::string quoted;
        for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += " '" + quoted + "'";
    }
    Run(command + " '" + path + "' >/dev/null");
}

void MakeTextMovie(const std::string& path, const std::vector<std::string>& samples) {
    // One second of a small picture; each sample a tenth of a second, from time 0.
    std::vector<std::string> arguments;
    for (size_t i = 0; i < samples.size(); ++i) {
        char sample[300];
        std::snprintf(sample, sizeof sample, "%.1f:%.1f:%s", i * 0.1, i * 0.1 + 0.1,
                      samples[i].c_str());
        arguments.push_back("--sample");
        arguments.push_back(sample);
    }
    MakeMovie(path, arguments);
}

std::string MakeCopiesFolder(int n) {
    static const std::string original = [] {
        std::string path = (RunFolder() / "original.mp4").string();
        MakeTextMovie(path, {"copy"});
        return path;
    }();
    std::string folder = MakeEmptyFolder();
    for (int i = 0; i < n; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "m%04d.mp4", i);
        fs::copy_file(original, fs::path(folder) / name);
    }
    return folder;
}

std::string MakeKeywordFolder() {
    static const std::string folder = [] {
        std::string f = MakeEmptyFolder();
        MakeTextMovie(f + "/a.mp4", {"Jazz and Rock"});
        MakeTextMovie(f + "/b.mp4", {"Jazz"});
        MakeTextMovie(f + "/c.mp4", {"late jazz night"});
        return f;
    }();
    return folder;
}

std::string MakeBuilderFolder() {
    static const std::string folder = [] {
        std::string f = MakeEmptyFolder();
        MakeTextMovie(f + "/0-all.mp4", {"Jazz", "Miles", "Blue", "So What"});
        MakeTextMovie(f + "/1-genre-artist.mp4", {"JAZZ BY MILES"});
        MakeTextMovie(f + "/2-genre.mp4", {"late night jazz club"});
        MakeTextMovie(f + "/3-artist.mp4", {"Rock", "Miles"});
        MakeTextMovie(f + "/4-no-text.mp4", {});
        return f;
    }();
    return folder;
}

void SetSong(ITTrackInfo& track, const std::string& genre, const std::string& artist,
             const std::string& album, const std::string& title) {
    SetPascal(track.genre, genre);
    SetPascal(track.artist, artist);
    SetPascal(track.album, album);
    SetPascal(track.name, title);
}

} // namespace zt::test
