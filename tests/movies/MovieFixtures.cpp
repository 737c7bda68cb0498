#include "MovieFixtures.h"

#include "Catalog.h"
#include "FileRefs.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace zt::test {

namespace fs = std::filesystem;

namespace {

// A scratch folder per test process, holding its state and cache folders too.
const fs::path& ProcessFolder() {
    static const fs::path folder = [] {
        char pattern[] = "/tmp/zt-movies-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(ProcessFolder(), ignored);
        });
        return fs::path(pattern);
    }();
    return folder;
}

// Private state and cache folders, set before any test runs.
class PrivateFolders : public ::testing::Environment {
  public:
    void SetUp() override {
        fs::create_directories(ProcessFolder() / "state");
        fs::create_directories(ProcessFolder() / "cache");
        setenv("XDG_STATE_HOME", (ProcessFolder() / "state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (ProcessFolder() / "cache").c_str(), 1);
    }
};
[[maybe_unused]] ::testing::Environment* const privateFolders =
    ::testing::AddGlobalTestEnvironment(new PrivateFolders);

int CountEntries(const char* folder) {
    int count = 0;
    if (DIR* dir = opendir(folder)) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

} // namespace

std::string Fixture(const std::string& name, const std::string& arguments) {
    fs::path folder = ZT_MOVIE_FIXTURES_DIR;
    fs::path path = folder / name;
    if (fs::exists(path)) return path.string();
    fs::create_directories(folder);
    // Made under a name of this process, then renamed: other test processes see all of it or nothing.
    fs::path partial = folder / (".partial-" + std::to_string(getpid()) + "-" + name);
    std::string command = std::string("'") + ZT_MOVIEMAKER_PATH + "' " + arguments + " '" + partial.string() + "'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("moviemaker failed: " + command);
    fs::rename(partial, path);
    return path.string();
}

std::string ScratchFolder() {
    static std::atomic<int> serial{0};
    fs::path folder = ProcessFolder() / ("scratch" + std::to_string(serial++));
    fs::create_directories(folder);
    return folder.string();
}

int OpenDescriptorCount() { return CountEntries("/proc/self/fd"); }
int ThreadCount() { return CountEntries("/proc/self/task"); }

FSSpec SpecOf(const std::string& path) {
    FSRef ref{};
    FSSpec spec{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr) {
        // Nothing there: the spec names it in its (existing) folder.
        fs::path p(path);
        spec.vRefNum = zt::files::kVolumeRefNum;
        spec.parID = SInt32(zt::files::Catalog::Instance().IdFor(p.parent_path().string(), true));
        std::string name = p.filename().string();
        spec.name[0] = UInt8(name.size());
        std::copy(name.begin(), name.end(), spec.name + 1);
        return spec;
    }
    EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr);
    return spec;
}

OSErr OpenMovie(const std::string& path, MoviePtr& movie) {
    movie.reset();
    FSSpec spec = SpecOf(path);
    SInt16 refNum = 0;
    OSErr err = OpenMovieFile(&spec, &refNum, fsRdPerm);
    if (err != noErr) return err;
    Movie opened = nullptr;
    err = NewMovieFromFile(&opened, refNum, nullptr, nullptr, newMovieActive, nullptr);
    EXPECT_EQ(CloseMovieFile(refNum), noErr);
    movie.reset(opened);
    return err;
}

MoviePtr OpenMovieOrFail(const std::string& path) {
    MoviePtr movie;
    EXPECT_EQ(OpenMovie(path, movie), noErr) << path;
    return movie;
}

std::vector<OSType> MediaTypes(Movie movie) {
    std::vector<OSType> types;
    for (SInt32 i = 1; i <= GetMovieTrackCount(movie); ++i) {
        OSType type = 0;
        GetMediaHandlerDescription(GetTrackMedia(GetMovieIndTrack(movie, i)), &type, nullptr, nullptr);
        types.push_back(type);
    }
    return types;
}

std::string TypeName(OSType type) {
    return {char(type >> 24), char(type >> 16), char(type >> 8), char(type)};
}

Found Search(Movie movie, SInt32 trackIndex, const std::string& keyword, SInt16 flags, TimeValue start) {
    Found found;
    MediaHandler handler = GetMediaHandler(GetTrackMedia(GetMovieIndTrack(movie, trackIndex)));
    std::string text = keyword;
    found.result = TextMediaFindNextText(handler, text.data(), SInt32(text.size()), flags, start, &found.time,
                                         &found.duration, &found.offset);
    return found;
}

} // namespace zt::test
