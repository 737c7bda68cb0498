// The named-data store: values survive a restart, the file is replaced whole,
// and a damaged file is set aside and reported, never fatal.
#include "NamedDataStore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ScratchFolder.h"

namespace zt::host {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;
using Bytes = std::vector<uint8_t>;

Bytes FolderRef(uint8_t seed) {
    Bytes ref(80);
    for (size_t i = 0; i < ref.size(); ++i) ref[i] = uint8_t(seed + i * 7);
    return ref;
}

Bytes Value(const NamedDataStore& store, std::string_view name) {
    auto found = store.Get(name);
    return found ? Bytes(found->begin(), found->end()) : Bytes{};
}

TEST(NamedDataStore, ValuesSurviveReopeningAndMissingNamesHaveNone) {
    ScratchFolder scratch;
    auto file = scratch / "config/zoetropica/Plug.named-data"; // folders made on first write
    {
        NamedDataStore store = NamedDataStore::Open(file);
        EXPECT_FALSE(store.loadProblem());
        EXPECT_FALSE(store.Set("Movies Folder", FolderRef(1)));
        EXPECT_FALSE(store.Set("", Bytes{9, 8, 7}));           // the unnamed plug-in data
        EXPECT_FALSE(store.Set("Empty value", Bytes{}));
        EXPECT_FALSE(store.Set("Movies Folder", FolderRef(2))); // replaced
    }
    NamedDataStore again = NamedDataStore::Open(file);
    EXPECT_FALSE(again.loadProblem());
    EXPECT_EQ(Value(again, "Movies Folder"), FolderRef(2));
    EXPECT_EQ(Value(again, ""), (Bytes{9, 8, 7}));
    ASSERT_TRUE(again.Get("Empty value"));
    EXPECT_TRUE(again.Get("Empty value")->empty());
    EXPECT_FALSE(again.Get("Movies folder")); // names are exact bytes
    EXPECT_FALSE(again.Get("Nothing here"));
}

TEST(NamedDataStore, ReplacesTheFileWholeAndLeavesNoTemporaryFiles) {
    ScratchFolder scratch;
    auto file = scratch / "Plug.named-data";
    NamedDataStore store = NamedDataStore::Open(file);
    ASSERT_FALSE(store.Set("Movies Folder", FolderRef(1)));
    Bytes before = ReadBytes(file);

    // A reader holding the old file keeps seeing all of the old contents: the new
    // file was renamed over it, not written into it.
    int reader = open(file.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);
    ASSERT_FALSE(store.Set("Movies Folder", FolderRef(50)));
    Bytes seen(before.size() + 16);
    ssize_t n = pread(reader, seen.data(), seen.size(), 0);
    close(reader);
    seen.resize(size_t(std::max<ssize_t>(n, 0)));
    EXPECT_EQ(seen, before);
    EXPECT_EQ(Value(NamedDataStore::Open(file), "Movies Folder"), FolderRef(50));

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Plug.named-data"});
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "stored settings are private to the user";
}

TEST(NamedDataStore, AFailedWriteKeepsTheValueForThisRunAndSaysWhy) {
    ScratchFolder scratch;
    WriteBytes(scratch / "not-a-folder", Bytes{1});
    NamedDataStore store = NamedDataStore::Open(scratch / "not-a-folder/Plug.named-data");
    std::optional<std::string> problem = store.Set("Movies Folder", FolderRef(3));
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("not-a-folder"), std::string::npos) << *problem;
    EXPECT_EQ(Value(store, "Movies Folder"), FolderRef(3));
}

TEST(NamedDataStore, RefusesOversizedNamesAndValues) {
    ScratchFolder scratch;
    NamedDataStore store = NamedDataStore::Open(scratch / "Plug.named-data");
    EXPECT_TRUE(store.Set(std::string(256, 'n'), Bytes{1}));
    EXPECT_TRUE(store.Set("big", Bytes(NamedDataStore::kMaxValueSize + 1)));
    EXPECT_FALSE(store.Get("big"));
    EXPECT_FALSE(store.Set(std::string(255, 'n'), Bytes(NamedDataStore::kMaxValueSize)));
}

// Damaged files, made from a good one.
struct Damage {
    const char* what;
    Bytes (*make)(Bytes good);
};

// The body followed by its FNV-1a checksum, as the store writes it: damage that
// only the structure checks can catch.
Bytes WithChecksum(Bytes body) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t b : body) hash = (hash ^ b) * 0x100000001b3ull;
    for (int i = 0; i < 8; ++i) body.push_back(uint8_t(hash >> (8 * i)));
    return body;
}

const Damage kDamages[] = {
    {"empty", [](Bytes) { return Bytes{}; }},
    {"garbage", [](Bytes good) { for (auto& b : good) b = uint8_t(b * 31 + 7); return good; }},
    {"cut short", [](Bytes good) { good.resize(good.size() / 2); return good; }},
    {"one byte flipped", [](Bytes good) { good[20] ^= 0x10; return good; }},
    {"another format", [](Bytes good) { good[0] = 'X'; return good; }},
    {"an entry longer than the file, checksum right",
     [](Bytes good) {
         good.resize(good.size() - 8);
         good[8] = 5; // five entries claimed, two present
         return WithChecksum(good);
     }},
    {"the same name twice, checksum right",
     [](Bytes) {
         // Two entries, each the name "k" and one byte.
         return WithChecksum(Bytes{'Z', 'T', 'N', 'A', 'M', 'E', 'D', '1', 2, 0, 0, 0,
                                   1, 'k', 1, 0, 0, 0, 42, 1, 'k', 1, 0, 0, 0, 42});
     }},
};

TEST(NamedDataStore, ADamagedFileIsSetAsideReportedAndReplacedOnTheNextWrite) {
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.what);
        ScratchFolder scratch;
        auto file = scratch / "Plug.named-data";
        {
            NamedDataStore store = NamedDataStore::Open(file);
            ASSERT_FALSE(store.Set("Movies Folder", FolderRef(4)));
            ASSERT_FALSE(store.Set("Other", Bytes{1, 2}));
        }
        Bytes damaged = damage.make(ReadBytes(file));
        WriteBytes(file, damaged);

        NamedDataStore store = NamedDataStore::Open(file);
        ASSERT_TRUE(store.loadProblem());
        EXPECT_NE(store.loadProblem()->find("damaged"), std::string::npos) << *store.loadProblem();
        EXPECT_FALSE(store.Get("Movies Folder"));
        EXPECT_EQ(ReadBytes(scratch / "Plug.named-data.damaged"), damaged) << "kept for a person";

        ASSERT_FALSE(store.Set("Movies Folder", FolderRef(5)));
        NamedDataStore healed = NamedDataStore::Open(file);
        EXPECT_FALSE(healed.loadProblem());
        EXPECT_EQ(Value(healed, "Movies Folder"), FolderRef(5));
    }
}

TEST(NamedDataStore, FileIsUnderTheConfigFolderNamedForThePlugIn) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string savedValue = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(NamedDataFileFor("Zoetropica"), "/somewhere/config/zoetropica/Zoetropica.named-data");
    EXPECT_EQ(NamedDataFileFor("My Plug/in"), "/somewhere/config/zoetropica/My_Plug_in.named-data");
    EXPECT_EQ(NamedDataFileFor(".."), "/somewhere/config/zoetropica/plugin...named-data");
    setenv("XDG_CONFIG_HOME", "relative/config", 1); // not absolute: ignored
    EXPECT_EQ(NamedDataFileFor("Z").parent_path().parent_path().filename(), ".config");
    if (saved) setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace zt::host
