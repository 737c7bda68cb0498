#include "BenchMovies.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace zt::bench {

namespace fs = std::filesystem;

namespace {

const fs::path kCache = ZT_FRAME_BENCH_CACHE;

void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// Makes `folder` by filling a temporary folder and renaming it, so an
// interrupted run never leaves a half-made folder behind under the real name.
template <typename Fill> std::string MakeOnce(const fs::path& folder, Fill fill) {
    if (fs::exists(folder)) return folder.string();
    fs::path partial = folder.string() + ".partial-" + std::to_string(getpid());
    fs::create_directories(partial);
    std::fprintf(stderr, "making %s (once)...\n", folder.c_str());
    fill(partial);
    fs::rename(partial, folder);
    return folder.string();
}

} // namespace

void UseBenchFolders() {
    fs::create_directories(kCache / "state");
    fs::create_directories(kCache / "cache");
    setenv("XDG_STATE_HOME", (kCache / "state").c_str(), 1);
    setenv("XDG_CACHE_HOME", (kCache / "cache").c_str(), 1);
    setenv("ZOETROPICA_CONSOLE", (kCache / "console.log").c_str(), 1);
}

std::string FullHdMovieFolder() {
    return MakeOnce(kCache / "full-hd", [](const fs::path& partial) {
        Run("ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i testsrc2=size=1920x1080:rate=30 -t 12 "
            "-c:v libx264 -preset veryfast -pix_fmt yuv420p -y '" +
            (partial / "testsrc2-1080p30.mp4").string() + "'");
    });
}

std::string FullHdMoviePath() { return FullHdMovieFolder() + "/testsrc2-1080p30.mp4"; }

std::string ThousandMoviesFolder() {
    return MakeOnce(kCache / "thousand", [](const fs::path& partial) {
        fs::path original = partial.string() + ".mp4";
        Run(std::string("'") + ZT_MOVIEMAKER + "' --pattern --size 320x240 --rate 30 --duration 4 '" +
            original.string() + "' >/dev/null");
        for (int i = 0; i < 1000; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "movie%04d.mp4", i);
            fs::copy_file(original, partial / name);
        }
        fs::remove(original);
    });
}

} // namespace zt::bench
