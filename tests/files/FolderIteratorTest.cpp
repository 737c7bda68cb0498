#include "FilesFixture.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zt::test {
namespace {

struct Listing {
    std::vector<UInt32> batches;
    std::vector<OSErr> results;
    std::vector<FSRef> refs;
    std::vector<FSSpec> specs;
};

// Reads a whole folder as the plug-in's loader does: batches of 234 with refs and specs.
Listing ReadFolder(const FSRef& folder) {
    Listing listing;
    FSIterator iterator = nullptr;
    EXPECT_EQ(FSOpenIterator(&folder, kFSIterateFlat, &iterator), noErr);
    OSErr err = noErr;
    while (err == noErr) {
        std::vector<FSRef> refs(234);
        std::vector<FSSpec> specs(234);
        UInt32 count = 999;
        err = FSGetCatalogInfoBulk(iterator, 234, &count, nullptr, kFSCatInfoNone, nullptr,
                                   refs.data(), specs.data(), nullptr);
        listing.batches.push_back(count);
        listing.results.push_back(err);
        listing.refs.insert(listing.refs.end(), refs.begin(), refs.begin() + count);
        listing.specs.insert(listing.specs.end(), specs.begin(), specs.begin() + count);
    }
    EXPECT_EQ(FSCloseIterator(iterator), noErr);
    return listing;
}

TEST_F(FilesTest, ListsThreeHundredItemsInBatchesInByteWiseNameOrder) {
    std::filesystem::path folder = Folder("many");
    std::vector<std::string> names;
    for (int i = 0; i < 297; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "m%d.mp4", 1000 + i);
        names.push_back(name);
    }
    names.push_back("Zebra");           // capitals sort before small letters
    names.push_back("\xc3\xa9t\xc3\xa9"); // bytes above 0x7f sort after ASCII
    names.push_back("sub");             // a folder is an item like the others
    for (const std::string& name : names) {
        if (name == "sub") std::filesystem::create_directory(folder / name);
        else Touch(folder / name);
    }
    std::filesystem::create_directory(folder / "sub" / "inner"); // no descent

    int fds = OpenDescriptorCount();
    Listing listing = ReadFolder(RefOf(folder));
    EXPECT_EQ(OpenDescriptorCount(), fds);

    EXPECT_EQ(listing.batches, (std::vector<UInt32>{234, 66}));
    EXPECT_EQ(listing.results, (std::vector<OSErr>{noErr, errFSNoMoreItems}));
    std::sort(names.begin(), names.end());
    ASSERT_EQ(listing.refs.size(), names.size());
    EXPECT_EQ(names.front(), "Zebra");
    EXPECT_EQ(names.back(), "\xc3\xa9t\xc3\xa9");
    for (size_t i = 0; i < names.size(); ++i) {
        std::string expected = (folder / names[i]).string();
        EXPECT_EQ(PathOf(listing.refs[i]), expected);
        EXPECT_EQ(PathOfSpec(listing.specs[i]), expected);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(listing.specs[i].name + 1), listing.specs[i].name[0]),
                  names[i]);
    }
}

TEST_F(FilesTest, EndsWithTheLastItemsOrWithNothingLeft) {
    struct Case {
        int items;
        std::vector<UInt32> batches;
    };
    for (const Case& c : {Case{0, {0}}, Case{1, {1}}, Case{234, {234}}, Case{235, {234, 1}}}) {
        std::filesystem::path folder = Folder(std::to_string(c.items) + "items");
        for (int i = 0; i < c.items; ++i) Touch(folder / std::to_string(i));
        Listing listing = ReadFolder(RefOf(folder));
        EXPECT_EQ(listing.batches, c.batches) << c.items << " items";
        EXPECT_EQ(listing.results.back(), errFSNoMoreItems);
    }
}

TEST_F(FilesTest, LongAndNonUtf8NamesRoundTripThroughShortSpecs) {
    std::filesystem::path folder = Folder("names");
    std::vector<std::string> names = {
        std::string(200, 'a') + ".mp4",
        std::string(70, 'b'),
        std::string(40, 'x') + std::string(30, '\xe2') + ".mov", // broken UTF-8, long
        "\xff\xfe raw bytes.mp4",
        std::string(62, 'c') + "\xc3\xa9", // 64 bytes: cut must not split the é
    };
    for (const std::string& name : names) Touch(folder / name);
    Listing listing = ReadFolder(RefOf(folder));
    std::sort(names.begin(), names.end());
    ASSERT_EQ(listing.specs.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const FSSpec& spec = listing.specs[i];
        EXPECT_LE(spec.name[0], 63);
        EXPECT_EQ(PathOfSpec(spec), (folder / names[i]).string()) << i;
    }
    // The same specs still resolve after the catalog is loaded afresh from disk.
    zt::files::Catalog::Instance().Reload();
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(PathOfSpec(listing.specs[i]), (folder / names[i]).string()) << i;
}

TEST_F(FilesTest, RefusesWhatCannotBeIterated) {
    std::filesystem::path gone = Folder("gone");
    FSRef goneRef = RefOf(gone);
    std::filesystem::remove(gone);
    std::filesystem::path file = root_ / "file.mp4";
    Touch(file);
    FSRef zero{};
    FSRef foreign{};
    foreign.hidden[0] = 0x42;

    struct Case {
        const char* what;
        const FSRef* ref;
        OSErr expected;
    };
    FSRef fileRef = RefOf(file);
    int fds = OpenDescriptorCount();
    for (const Case& c : {Case{"vanished folder", &goneRef, dirNFErr}, Case{"a file", &fileRef, dirNFErr},
                          Case{"all-zero reference", &zero, paramErr},
                          Case{"foreign reference", &foreign, paramErr}, Case{"NULL", nullptr, paramErr}}) {
        FSIterator iterator = reinterpret_cast<FSIterator>(0x1);
        EXPECT_EQ(FSOpenIterator(c.ref, kFSIterateFlat, &iterator), c.expected) << c.what;
        EXPECT_EQ(iterator, nullptr) << c.what;
    }
    EXPECT_EQ(OpenDescriptorCount(), fds);

    // A stray iterator handle is refused rather than used.
    UInt32 count = 7;
    int notAnIterator = 0;
    auto stray = reinterpret_cast<FSIterator>(&notAnIterator);
    EXPECT_EQ(FSGetCatalogInfoBulk(stray, 10, &count, nullptr, 0, nullptr, nullptr, nullptr, nullptr),
              paramErr);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(FSCloseIterator(stray), paramErr);
}

TEST_F(FilesTest, ListsAFolderWhosePathIsLongerThanTheKernelTakes) {
    // Nest folders of 200-byte names until the path passes 6000 bytes.
    std::string path = root_.string();
    int dir = open(path.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(dir, 0);
    std::string name(200, 'd');
    while (path.size() < 6000) {
        ASSERT_EQ(mkdirat(dir, name.c_str(), 0700), 0);
        int next = openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(dir);
        dir = next;
        path += '/';
        path += name;
    }
    close(openat(dir, "deep.mp4", O_CREAT | O_WRONLY, 0600));
    close(dir);

    Listing listing = ReadFolder(RefOf(path));
    ASSERT_EQ(listing.refs.size(), 1u);
    EXPECT_EQ(PathOf(listing.refs[0]), path + "/deep.mp4");
    EXPECT_EQ(PathOfSpec(listing.specs[0]), path + "/deep.mp4");
}

} // namespace
} // namespace zt::test
