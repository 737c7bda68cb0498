// A host for tests that link the plug-in's code directly: it owns an instance
// record whose application procedure answers the named-data requests from
// memory, and captures the console log in a temporary file.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "VisualPluginData.h"

namespace zt::test {

class InProcessHost {
  public:
    // Runs the plug-in's pre-initialisation with the console log in a file of its own.
    InProcessHost();
    ~InProcessHost();
    InProcessHost(const InProcessHost&) = delete;
    InProcessHost& operator=(const InProcessHost&) = delete;

    VisualPluginData& data() { return data_; }

    // Stores a folder (by path) under "Movies Folder", as a host would.
    void StoreMoviesFolder(const std::string& path);
    std::map<std::string, std::vector<UInt8>> namedData;

    // The console lines written so far.
    std::vector<std::string> ConsoleLines() const;
    // Waits (bounded) until the console holds `count` lines equal to `line`.
    bool WaitForConsoleLine(const std::string& line, int count = 1, int timeoutMs = 10000) const;
    int CountConsoleLines(const std::string& line) const;

  private:
    static OSStatus AppProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo);
    VisualPluginData data_{};
    std::string consolePath_;
};

} // namespace zt::test
