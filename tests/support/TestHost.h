// A host of the tests' own: loads the built bundle with dlopen, calls its entry
// point, answers every player request (recording each one), keeps named data in
// memory, and drives the handler the bundle registered. Tests of the plug-in's
// boundary go through it, so they prove the real exported symbols.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "iTunesAPI.h"
#include "PascalString.h"
#include "iTunesVisualAPI.h"

namespace zt::test {

struct RecordedRequest {
    OSType message;
    std::vector<uint8_t> bytes; // the whole PlayerMessageInfo as the host received it
    const PlayerMessageInfo& info() const {
        return *reinterpret_cast<const PlayerMessageInfo*>(bytes.data());
    }
};

class TestHost {
  public:
    explicit TestHost(const std::string& bundlePath = ZT_BUNDLE_PATH);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // The entry point, as the host calls it.
    OSStatus CallEntry(OSType message);
    // The handler registered on the entry's 'init' (null before).
    VisualPluginProcPtr handler() const { return registration_.handler; }
    const PlayerRegisterVisualPluginMessage& registration() const { return registration_; }

    // The handler's 'init': keeps the instance record it hands back.
    OSStatus InitVisual();
    // Any visual message with the instance record as refCon.
    OSStatus Send(OSType message, VisualPluginMessageInfo* info = nullptr);
    OSStatus SendWithRefCon(OSType message, VisualPluginMessageInfo* info, void* refCon);
    void* refCon() const { return refCon_; }

    std::vector<RecordedRequest> requests;
    std::map<std::string, std::vector<uint8_t>> namedData;
    FSSpec pluginFileSpec{};              // handed back on 'pspc'
    OSStatus registerStatus = noErr;      // answer to 'rvis'
    OSStatus fileSpecStatus = noErr;      // answer to 'pspc'

    int CountRequests(OSType message) const;

  private:
    static OSStatus AppProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo);
    OSStatus Answer(OSType message, PlayerMessageInfo* messageInfo);

    void* library_ = nullptr;
    OSStatus (*entry_)(OSType, PluginMessageInfo*, void*) = nullptr;
    PlayerRegisterVisualPluginMessage registration_{};
    void* refCon_ = nullptr;
};

} // namespace zt::test
