// Song changes under load: a folder of movies with text tracks, a browse build
// per song, and 1000 starts posted 1 ms apart, as a person skipping through a
// play list would. Reports how long the last song's list takes to be published
// after its start, and checks that it is the last song's list.
//   song_change_bench [MOVIES] [STARTS]
#include "Fixtures.h"
#include "InProcessHost.h"
#include "MovieLibrary.h"
#include "PlayList.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

using namespace zt::test;
using Clock = std::chrono::steady_clock;

static double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int main(int argc, char** argv) {
    int movies = argc > 1 ? std::atoi(argv[1]) : 1000;
    int starts = argc > 2 ? std::atoi(argv[2]) : 1000;

    std::printf("making %d movies...\n", movies);
    std::string folder = MakeEmptyFolder();
    std::vector<std::string> samples;
    for (int i = 0; i < 200; ++i) samples.push_back("sample " + std::to_string(i) + " words");
    samples[150] = "Jazz at night";
    MakeTextMovie(folder + "/original.mp4", samples);
    for (int i = 1; i < movies; ++i)
        std::filesystem::copy_file(folder + "/original.mp4", folder + "/m" + std::to_string(i) + ".mp4");

    InProcessHost host;
    host.StoreMoviesFolder(folder);
    BuildPlayMovieListParam browse = gBuildPlayMovListParamToCntrl;
    browse.searchMethod = kSearchMethodBrowse;
    SetSong(host.data().trackInfo, "Jazz", "", "", "");
    auto loadStart = Clock::now();
    InitZoetropica(&host.data(), &host.data().movieFolderRef, &browse);
    std::printf("set-up: %.1f ms for %u movies\n", Ms(Clock::now() - loadStart),
                unsigned(gAllMovieStore.StoredNumber));
    auto firstBuild = Clock::now();
    host.WaitForConsoleLine("Builded Play List Num " + std::to_string(movies), 1, 600000);
    std::printf("first build (text loaded from the files): %.1f ms\n", Ms(Clock::now() - firstBuild));

    // Alternate between a song every movie matches and one none does.
    auto postStart = Clock::now();
    for (int i = 0; i < starts; ++i) {
        SetSong(host.data().trackInfo, i % 2 == 0 ? "Nothing" : "Jazz", "", "", "");
        SendStartToCntrlPlayMovieList(&host.data().trackInfo);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    auto lastPosted = Clock::now();
    SetSong(host.data().trackInfo, "Nothing", "", "", "");
    SendStartToCntrlPlayMovieList(&host.data().trackInfo);
    // Done when the last line is a publication and no start came after it for
    // a while: every start taken was followed by its list.
    int published = 0;
    auto done = Clock::now();
    for (;;) {
        auto lines = host.ConsoleLines();
        if (!lines.empty() && lines.back().rfind("Builded Play List Num", 0) == 0) {
            int seen = int(lines.size());
            done = Clock::now();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (int(host.ConsoleLines().size()) == seen) break;
        }
        if (Ms(Clock::now() - lastPosted) > 60000) {
            std::printf("FAILED: the last song's list was not published within 60 s\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    for (auto& line : host.ConsoleLines())
        published += line.rfind("Builded Play List Num", 0) == 0;
    std::printf("%d starts posted 1 ms apart in %.1f ms; lists published: %d (builds started: %d)\n",
                starts, Ms(lastPosted - postStart), published - 1,
                host.CountConsoleLines("START_BUILD_MOVIE_PLAY_LIST"));
    std::printf("last start to its list published: %.1f ms (one build over %d movies)\n",
                Ms(done - lastPosted), movies);
    CleanUpZoetropica(&host.data(), &host.data().movieFolderRef);
    return 0;
}
