// A scratch folder and a private state folder (so the catalog is the test's
// own) for each test of the folder service.
#pragma once

#include "Catalog.h"
#include "Files.h"

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace zt::test {

inline int OpenDescriptorCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zt-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        std::filesystem::create_directories(root_ / "state");
        setenv("XDG_STATE_HOME", (root_ / "state").c_str(), 1);
        zt::files::Catalog::Instance().Reload();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    std::filesystem::path Folder(const std::string& name) {
        std::filesystem::path folder = root_ / name;
        std::filesystem::create_directories(folder);
        return folder;
    }
    static void Touch(const std::filesystem::path& file) { std::ofstream(file) << "x"; }

    static FSRef RefOf(const std::string& path) {
        FSRef ref{};
        EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr)
            << path;
        return ref;
    }
    static std::string PathOf(const FSRef& ref) {
        std::string path(1 << 16, '\0');
        if (FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path.data()), UInt32(path.size())) != noErr)
            return "<none>";
        path.resize(path.find('\0'));
        return path;
    }
    static std::string PathOfSpec(const FSSpec& spec) {
        FSRef ref{};
        if (FSpMakeFSRef(&spec, &ref) != noErr) return "<none>";
        return PathOf(ref);
    }

    std::filesystem::path root_;
};

} // namespace zt::test
