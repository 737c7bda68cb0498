#include "FakePlugin.h"

#include <cstring>

namespace zt::host::test {

FakePlugin* gFake = nullptr;

FakePlugin::FakePlugin() {
    registration.name[0] = 4;
    std::memcpy(registration.name + 1, "Fake", 4);
    registration.options = kVisualWantsIdleMessages | kVisualWantsConfigure;
    registration.handler = FakeHandler;
    registration.minWidth = 64;
    registration.minHeight = 64;
    registration.maxWidth = 32767;
    registration.maxHeight = 32767;
    gFake = this;
}

FakePlugin::~FakePlugin() { gFake = nullptr; }

OSStatus FakePlugin::Request(OSType message, PlayerMessageInfo& info) const {
    info.messageMajorVersion = kITPluginMajorMessageVersion;
    info.messageMinorVersion = kITPluginMinorMessageVersion;
    info.messageInfoSize = recordSize;
    return appProc(appCookie, message, &info);
}

OSStatus FakeEntry(OSType message, PluginMessageInfo* info, void*) {
    if (message != kPluginInitMessage) return message == kPluginCleanupMessage ? noErr : unimpErr;
    gFake->appCookie = info->initMessage.appCookie;
    gFake->appProc = info->initMessage.appProc;
    for (int i = 0; i < gFake->registrations; ++i) {
        PlayerMessageInfo request{};
        request.u.registerVisualPluginMessage = gFake->registration;
        gFake->Request(kPlayerRegisterVisualPluginMessage, request);
    }
    return gFake->entryStatus;
}

OSStatus FakeHandler(OSType message, VisualPluginMessageInfo* info, void*) {
    gFake->messages.push_back(CodeText(message));
    switch (message) {
    case kVisualPluginInitMessage:
        if (gFake->makesInstanceRecord) info->initMessage.refCon = gFake;
        break;
    case kVisualPluginPlayMessage:
    case kVisualPluginChangeTrackMessage: {
        const ITTrackInfo* track = info->playMessage.trackInfo;
        gFake->titles.emplace_back(reinterpret_cast<const char*>(track->name + 1), track->name[0]);
        break;
    }
    case kVisualPluginShowWindowMessage: gFake->rects.push_back(info->showWindowMessage.drawRect); break;
    case kVisualPluginSetWindowMessage: gFake->rects.push_back(info->setWindowMessage.drawRect); break;
    default: break;
    }
    return noErr;
}

} // namespace zt::host::test
