#include "Fixtures.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

void MakeTextMovie(const std::string& path, const std::vector<std::string>& samples) {
    // One second of a small picture; each sample a tenth of a second, from time 0.
    std::string command = "ffmpeg -v error -y -f lavfi -i color=c=teal:s=64x48:d=1:r=10 ";
    if (!samples.empty()) {
        std::string srt = path + ".srt";
        std::ofstream out(srt);
        for (size_t i = 0; i < samples.size(); ++i) {
            char times[64];
            std::snprintf(times, sizeof times, "00:00:00,%03d --> 00:00:00,%03d", int(i * 100),
                          int(i * 100 + 99));
            out << i + 1 << "\n" << times << "\n" << samples[i] << "\n\n";
        }
        out.close();
        command += "-i '" + srt + "' -map 0 -map 1 -c:s mov_text ";
    }
    Run(command + "-c:v mpeg4 '" + path + "'");
    std::remove((path + ".srt").c_str());
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
