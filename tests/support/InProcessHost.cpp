#include "InProcessHost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include "Files.h"
#include "MovieLibrary.h"

namespace zt::test {

// The folder catalog and the text cache of the test process live in a private
// folder, never in the user's own state and cache.
static void UsePrivateStateAndCache() {
    static const bool done = [] {
        char pattern[] = "/tmp/zt-state-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        setenv("XDG_STATE_HOME", (std::string(pattern) + "/state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (std::string(pattern) + "/cache").c_str(), 1);
        static const std::string folder = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)done;
}

InProcessHost::InProcessHost() {
    UsePrivateStateAndCache();
    char path[] = "/tmp/zt-console-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    close(fd);
    consolePath_ = path;
    setenv("ZOETROPICA_CONSOLE", path, 1);
    data_.appCookie = this;
    data_.appProc = &InProcessHost::AppProc;
    PreInitZoetropica();
}

InProcessHost::~InProcessHost() { std::remove(consolePath_.c_str()); }

void InProcessHost::StoreMoviesFolder(const std::string& path) {
    FSRef ref{};
    Boolean isDirectory = 0;
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, &isDirectory) != noErr)
        throw std::runtime_error("FSPathMakeRef failed for " + path);
    namedData["Movies Folder"] = std::vector<UInt8>(ref.hidden, ref.hidden + sizeof ref.hidden);
}

std::vector<std::string> InProcessHost::ConsoleLines() const {
    std::vector<std::string> lines;
    std::ifstream in(consolePath_);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

int InProcessHost::CountConsoleLines(const std::string& line) const {
    auto lines = ConsoleLines();
    return int(std::count(lines.begin(), lines.end(), line));
}

bool InProcessHost::WaitForConsoleLine(const std::string& line, int count, int timeoutMs) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (CountConsoleLines(line) >= count) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

OSStatus InProcessHost::AppProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo) {
    auto* host = static_cast<InProcessHost*>(appCookie);
    auto keyOf = [](ConstStringPtr name) {
        return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
    };
    if (message == FourCC("snpr")) {
        auto& set = messageInfo->u.setPluginNamedDataMessage;
        auto* bytes = static_cast<const UInt8*>(set.dataPtr);
        host->namedData[keyOf(set.dataName)] = std::vector<UInt8>(bytes, bytes + set.dataSize);
        return noErr;
    }
    if (message == FourCC("gnpr")) {
        auto& get = messageInfo->u.getPluginNamedDataMessage;
        auto found = host->namedData.find(keyOf(get.dataName));
        if (found == host->namedData.end()) return resNotFound;
        size_t n = std::min<size_t>(found->second.size(), get.dataBufferSize);
        std::memcpy(get.dataPtr, found->second.data(), n);
        get.dataSize = UInt32(found->second.size());
        return noErr;
    }
    return noErr;
}

} // namespace zt::test
