// A plug-in of the tests' own, reached through the same entry-point contract as
// a bundle: it registers what a test tells it to (or misbehaves as told), and
// records every visual message it receives. One fake at a time (gFake).
#pragma once

#include <string>
#include <vector>

#include "FourCharCode.h"
#include "iTunesVisualAPI.h"

namespace zt::host::test {

struct FakePlugin {
    // What the entry point does on 'init'.
    PlayerRegisterVisualPluginMessage registration{};
    UInt32 recordSize = sizeof(PlayerMessageInfo);
    int registrations = 1;
    OSStatus entryStatus = noErr;
    // What the handler does.
    bool makesInstanceRecord = true;

    // What it saw.
    void* appCookie = nullptr;
    ITAppProcPtr appProc = nullptr;
    std::vector<std::string> messages; // handler messages, as 'code'
    std::vector<std::string> titles;   // the song title of each 'vply' and 'ctrk'
    std::vector<Rect> rects;           // the drawRect of each 'show' and 'swin'

    FakePlugin();
    ~FakePlugin();

    // A player request as the plug-in makes it: header stamped, then the host called.
    OSStatus Request(OSType message, PlayerMessageInfo& info) const;
};

extern FakePlugin* gFake;

OSStatus FakeEntry(OSType message, PluginMessageInfo* info, void* refCon);
OSStatus FakeHandler(OSType message, VisualPluginMessageInfo* info, void* refCon);

} // namespace zt::host::test
