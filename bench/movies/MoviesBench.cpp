// Opening and searching a folder of 1000 small movies, as the plug-in does when
// it loads a folder and when it builds a play list. Each benchmark reports its
// figures beside a yardstick measured in the same run:
//   Opening: OpenMovieFile + NewMovieFromFile + track enumeration (media type,
//     enabling) + CloseMovieFile per movie, against FFmpeg's own
//     avformat_open_input + avformat_close_input of the same files
//     ("x_ffmpeg", at most 2); "us_per_movie" (at most 300); "KiB_per_movie",
//     the heap and the resident memory that 1000 idle opened movies hold.
//   Searching: 4 keyword searches per movie over all 1000 movies, texts loaded
//     ("ms_per_4000", at most 50), and the text scanned per second against
//     glibc's memmem over the same folded texts ("x_memmem", at least 0.5).
#include "Files.h"
#include "MovieRecords.h"
#include "Movies.h"
#include "TextCleaning.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kMovies = 1000;
constexpr int kSamples = 200;
const char* const kKeywords[] = {"Electronic", "Miles Davis", "Kind of Blue", "So What"};

// The folder, made once: one movie made by the movie maker, copied 1000 times.
const fs::path& MovieFolder() {
    static const fs::path folder = [] {
        fs::path base = ZT_BENCH_FOLDER;
        fs::path movies = base / "movies";
        // State and cache of this benchmark stay beside its folder.
        fs::create_directories(base / "state");
        fs::create_directories(base / "cache");
        setenv("XDG_STATE_HOME", (base / "state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (base / "cache").c_str(), 1);
        if (fs::exists(movies)) return movies;
        fs::path partial = base / ("partial-" + std::to_string(getpid()));
        fs::create_directories(partial);
        std::string command = std::string("'") + ZT_MOVIEMAKER_PATH + "' --duration 20 --rate 5 --size 32x24";
        for (int i = 0; i < kSamples; ++i) {
            char sample[128];
            std::snprintf(sample, sizeof sample, " --sample %d.%d:%d.%d:'Line %d: the quick brown fox jumps over the lazy dog'",
                          i / 10, i % 10, (i + 1) / 10, (i + 1) % 10, i);
            command += sample;
        }
        command += " '" + (partial / "original.mp4").string() + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("moviemaker failed");
        for (int i = 0; i < kMovies; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "movie%04d.mp4", i);
            fs::copy_file(partial / "original.mp4", partial / name);
        }
        fs::remove(partial / "original.mp4");
        fs::rename(partial, movies);
        return movies;
    }();
    return folder;
}

// The folder's specs, read as the plug-in reads them: batches of 234.
std::vector<FSSpec> FolderSpecs() {
    FSRef folder{};
    std::string path = MovieFolder().string();
    FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &folder, nullptr);
    FSIterator iterator = nullptr;
    std::vector<FSSpec> specs;
    if (FSOpenIterator(&folder, kFSIterateFlat, &iterator) != noErr) return specs;
    OSErr err = noErr;
    while (err == noErr) {
        FSSpec batch[234];
        FSRef refs[234];
        UInt32 count = 0;
        err = FSGetCatalogInfoBulk(iterator, 234, &count, nullptr, kFSCatInfoNone, nullptr, refs, batch, nullptr);
        specs.insert(specs.end(), batch, batch + count);
    }
    FSCloseIterator(iterator);
    return specs;
}

// What the plug-in's OpenMovieStream does with the movie toolbox.
Movie OpenAsThePlugInDoes(const FSSpec& spec) {
    SInt16 refNum = 0;
    if (OpenMovieFile(&spec, &refNum, fsRdPerm) != noErr) return nullptr;
    Movie movie = nullptr;
    if (NewMovieFromFile(&movie, refNum, nullptr, nullptr, newMovieActive, nullptr) == noErr) {
        for (SInt32 i = 1; i <= GetMovieTrackCount(movie); ++i) {
            Track track = GetMovieIndTrack(movie, i);
            OSType type = 0;
            GetMediaHandlerDescription(GetTrackMedia(track), &type, nullptr, nullptr);
            SetTrackEnabled(track, type == VideoMediaType || type == MPEGMediaType);
        }
    }
    CloseMovieFile(refNum);
    return movie;
}

long ResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

void Opening(benchmark::State& state) {
    std::vector<FSSpec> specs = FolderSpecs();
    std::vector<std::string> paths;
    for (const auto& entry : fs::directory_iterator(MovieFolder())) paths.push_back(entry.path().string());
    if (specs.size() != size_t(kMovies) || paths.size() != size_t(kMovies)) {
        state.SkipWithError("the movie folder is incomplete");
        return;
    }
    // Warm up: the page cache, FFmpeg's one-time set-up, the catalog.
    for (const FSSpec& spec : specs) DisposeMovie(OpenAsThePlugInDoes(spec));

    double ours = 0, theirs = 0, heapPerMovie = 0, residentPerMovie = 0;
    std::vector<Movie> movies(specs.size());
    for (auto _ : state) {
        malloc_trim(0);
        size_t heapBefore = mallinfo2().uordblks;
        long residentBefore = ResidentBytes();
        auto start = Clock::now();
        for (size_t i = 0; i < specs.size(); ++i) movies[i] = OpenAsThePlugInDoes(specs[i]);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        ours += seconds;
        heapPerMovie = double(mallinfo2().uordblks - heapBefore) / double(specs.size());
        residentPerMovie = double(ResidentBytes() - residentBefore) / double(specs.size());
        state.SetIterationTime(seconds);

        for (Movie& movie : movies) {
            if (movie == nullptr) state.SkipWithError("a movie did not open");
            DisposeMovie(movie);
        }
        start = Clock::now();
        for (const std::string& path : paths) {
            AVFormatContext* format = nullptr;
            if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) == 0) avformat_close_input(&format);
        }
        theirs += std::chrono::duration<double>(Clock::now() - start).count();
    }
    double perMovie = ours / double(state.iterations()) / double(specs.size());
    state.counters["us_per_movie"] = perMovie * 1e6;
    state.counters["ffmpeg_us_per_movie"] = theirs / double(state.iterations()) / double(specs.size()) * 1e6;
    state.counters["x_ffmpeg"] = ours / theirs;
    state.counters["KiB_per_movie_heap"] = heapPerMovie / 1024;
    state.counters["KiB_per_movie_resident"] = residentPerMovie / 1024;
}
BENCHMARK(Opening)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void Searching(benchmark::State& state) {
    std::vector<FSSpec> specs = FolderSpecs();
    std::vector<Movie> movies;
    for (const FSSpec& spec : specs) movies.push_back(OpenAsThePlugInDoes(spec));
    // The handlers the plug-in would search, and the texts loaded (from the cache after the first run).
    std::vector<MediaHandler> handlers;
    std::vector<const std::string*> folded;
    size_t textBytes = 0;
    for (Movie movie : movies) {
        Track track = GetMovieIndTrack(movie, 2);
        handlers.push_back(GetMediaHandler(GetTrackMedia(track)));
        TimeValue found = 0;
        char warm[] = "x";
        TextMediaFindNextText(handlers.back(), warm, 1, findTextEdgeOK, 0, &found, nullptr, nullptr);
        const std::string& text = movie->text.Track(0, movie->path, movie->textStreams).folded;
        folded.push_back(&text);
        textBytes += text.size();
    }
    std::vector<std::string> keys;
    for (const char* k : kKeywords) keys.push_back(zt::movies::FoldForSearch(k));

    double ours = 0, theirs = 0;
    int hits = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        for (MediaHandler handler : handlers)
            for (const char* keyword : kKeywords) {
                TimeValue found = -1;
                TextMediaFindNextText(handler, const_cast<char*>(keyword), SInt32(std::strlen(keyword)), findTextEdgeOK,
                                      0, &found, nullptr, nullptr);
                hits += found != -1;
            }
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        ours += seconds;
        state.SetIterationTime(seconds);

        start = Clock::now();
        for (const std::string* text : folded)
            for (const std::string& key : keys) {
                const void* at = memmem(text->data(), text->size(), key.data(), key.size());
                benchmark::DoNotOptimize(at);
            }
        theirs += std::chrono::duration<double>(Clock::now() - start).count();
    }
    double scanned = double(textBytes) * 4 * double(state.iterations());
    state.counters["ms_per_4000"] = ours / double(state.iterations()) * 1e3;
    state.counters["GB_per_s"] = scanned / ours / 1e9;
    state.counters["memmem_GB_per_s"] = scanned / theirs / 1e9;
    state.counters["x_memmem"] = theirs / ours;
    state.counters["hits"] = hits;
    for (Movie movie : movies) DisposeMovie(movie);
}
BENCHMARK(Searching)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
