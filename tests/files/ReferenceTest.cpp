#include "FilesFixture.h"

#include <cstring>

namespace zt::test {
namespace {

TEST_F(FilesTest, ReferencesSurviveAFreshCatalogLoad) {
    std::filesystem::path folder = Folder("movies \xff folder");
    FSRef ref = RefOf(folder.string() + "/./");
    Boolean isDirectory = false;
    FSRef again{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &again, &isDirectory), noErr);
    EXPECT_TRUE(isDirectory);
    EXPECT_EQ(std::memcmp(&ref, &again, sizeof ref), 0); // one path, one reference

    zt::files::Catalog::Instance().Reload();
    EXPECT_EQ(PathOf(ref), folder.string());
    FSIterator iterator = nullptr;
    EXPECT_EQ(FSOpenIterator(&ref, kFSIterateFlat, &iterator), noErr);
    EXPECT_EQ(FSCloseIterator(iterator), noErr);
}

TEST_F(FilesTest, ADamagedCatalogStartsAfreshWithoutLosingNewReferences) {
    std::filesystem::path folder = Folder("kept");
    std::ofstream(root_ / "state" / "zoetropica" / "catalog", std::ios::binary) << "not a catalog";
    zt::files::Catalog::Instance().Reload();
    FSRef ref = RefOf(folder);
    zt::files::Catalog::Instance().Reload();
    EXPECT_EQ(PathOf(ref), folder.string());
}

TEST_F(FilesTest, SpecsAndParentsOfReferences) {
    std::filesystem::path folder = Folder("parent");
    Touch(folder / "movie.mp4");
    FSRef ref = RefOf((folder / "movie.mp4").string());

    FSSpec spec{};
    FSRef parent{};
    ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, &parent), noErr);
    EXPECT_EQ(PathOf(parent), folder.string());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(spec.name + 1), spec.name[0]), "movie.mp4");
    EXPECT_EQ(PathOfSpec(spec), (folder / "movie.mp4").string());

    // A specification with an empty name is its parent folder itself (as a folder chooser gives).
    FSSpec folderSpec = spec;
    folderSpec.name[0] = 0;
    EXPECT_EQ(PathOfSpec(folderSpec), folder.string());
}

TEST_F(FilesTest, RefusesBadSpecsPathsAndBuffers) {
    std::filesystem::path folder = Folder("safe");
    FSRef folderRef = RefOf(folder);
    UInt32 folderId = zt::files::Catalog::Instance().IdFor(folder.string(), true);
    FSRef ref{};
    for (const char* name : {"..", ".", "a/b", "missing.mp4"}) {
        FSSpec bad{};
        bad.parID = SInt32(folderId);
        bad.name[0] = UInt8(std::strlen(name));
        std::memcpy(bad.name + 1, name, bad.name[0]);
        EXPECT_EQ(FSpMakeFSRef(&bad, &ref), fnfErr) << name;
    }
    FSSpec unknownParent{};
    unknownParent.parID = 12345;
    EXPECT_EQ(FSpMakeFSRef(&unknownParent, &ref), dirNFErr);

    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>("/no/such/path"), &ref, nullptr), fnfErr);
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(""), &ref, nullptr), paramErr);
    UInt8 small[4];
    EXPECT_EQ(FSRefMakePath(&folderRef, small, sizeof small), pathTooLongErr);
    FSRef zero{};
    UInt8 path[64];
    EXPECT_EQ(FSRefMakePath(&zero, path, sizeof path), paramErr);
    FSSpec spec{};
    EXPECT_EQ(FSGetCatalogInfo(&zero, 0, nullptr, nullptr, &spec, nullptr), paramErr);
}

} // namespace
} // namespace zt::test
