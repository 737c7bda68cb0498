// The host call channel: stamps request records and calls the host's
// application procedure. No state; every record lives on the caller's stack.
#include "iTunesAPI.h"

#include <cstring>

// Zero-fills length bytes: bytes up to a 4-byte boundary, then whole words,
// then the remaining bytes. Short blocks (16 bytes or less) go byte by byte.
static void MemClear(void* dest, SInt32 length) {
    auto* p = static_cast<UInt8*>(dest);
    if (length <= 0) return;
    if (length > 16) {
        while ((reinterpret_cast<uintptr_t>(p) & 3) != 0) {
            *p++ = 0;
            --length;
        }
        while (length > 3) {
            const UInt32 zero = 0;
            std::memcpy(p, &zero, sizeof(zero)); // one aligned word store
            p += 4;
            length -= 4;
        }
    }
    while (length > 0) {
        *p++ = 0;
        --length;
    }
}

OSStatus ITCallApplication(void* appCookie, ITAppProcPtr handler, OSType message,
                           PlayerMessageInfo* messageInfo) {
    PlayerMessageInfo localMessageInfo;
    if (messageInfo == nullptr) {
        MemClear(&localMessageInfo, sizeof(localMessageInfo));
        messageInfo = &localMessageInfo;
    }
    messageInfo->messageMajorVersion = kITPluginMajorMessageVersion;
    messageInfo->messageMinorVersion = kITPluginMinorMessageVersion;
    messageInfo->messageInfoSize = sizeof(PlayerMessageInfo);
    return handler(appCookie, message, messageInfo);
}

void SetNumVersion(NumVersion* numVersion, UInt8 majorRev, UInt8 minorAndBugRev, UInt8 stage,
                   UInt8 nonRelRev) {
    numVersion->majorRev = majorRev;
    numVersion->minorAndBugRev = minorAndBugRev;
    numVersion->stage = stage;
    numVersion->nonRelRev = nonRelRev;
}

// A zero-filled record for a wrapper to fill.
static PlayerMessageInfo ClearedMessageInfo() {
    PlayerMessageInfo messageInfo;
    MemClear(&messageInfo, sizeof(messageInfo));
    return messageInfo;
}

OSStatus PlayerSetFullScreen(void* appCookie, ITAppProcPtr appProc, Boolean fullScreen) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    messageInfo.u.setFullScreenMessage.fullScreen = fullScreen;
    return ITCallApplication(appCookie, appProc, kPlayerSetFullScreenMessage, &messageInfo);
}

OSStatus PlayerSetFullScreenOptions(void* appCookie, ITAppProcPtr appProc, SInt16 minBitDepth,
                                    SInt16 maxBitDepth, SInt16 preferredBitDepth,
                                    SInt16 desiredWidth, SInt16 desiredHeight) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    auto& options = messageInfo.u.setFullScreenOptionsMessage;
    options.minBitDepth = minBitDepth;
    options.maxBitDepth = maxBitDepth;
    options.preferredBitDepth = preferredBitDepth;
    options.desiredWidth = desiredWidth;
    options.desiredHeight = desiredHeight;
    return ITCallApplication(appCookie, appProc, kPlayerSetFullScreenOptionsMessage, &messageInfo);
}

OSStatus PlayerGetPluginData(void* appCookie, ITAppProcPtr appProc, void* dataPtr,
                             UInt32 dataBufferSize, UInt32* dataSize) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    messageInfo.u.getPluginDataMessage.dataPtr = dataPtr;
    messageInfo.u.getPluginDataMessage.dataBufferSize = dataBufferSize;
    OSStatus status =
        ITCallApplication(appCookie, appProc, kPlayerGetPluginDataMessage, &messageInfo);
    if (dataSize != nullptr) *dataSize = messageInfo.u.getPluginDataMessage.dataSize;
    return status;
}

OSStatus PlayerSetPluginData(void* appCookie, ITAppProcPtr appProc, void* dataPtr,
                             UInt32 dataSize) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    messageInfo.u.setPluginDataMessage.dataPtr = dataPtr;
    messageInfo.u.setPluginDataMessage.dataSize = dataSize;
    return ITCallApplication(appCookie, appProc, kPlayerSetPluginDataMessage, &messageInfo);
}

OSStatus PlayerGetPluginNamedData(void* appCookie, ITAppProcPtr appProc, ConstStringPtr dataName,
                                  void* dataPtr, UInt32 dataBufferSize, UInt32* dataSize) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    auto& request = messageInfo.u.getPluginNamedDataMessage;
    request.dataName = dataName;
    request.dataPtr = dataPtr;
    request.dataBufferSize = dataBufferSize;
    OSStatus status =
        ITCallApplication(appCookie, appProc, kPlayerGetPluginNamedDataMessage, &messageInfo);
    if (dataSize != nullptr) *dataSize = request.dataSize;
    return status;
}

OSStatus PlayerSetPluginNamedData(void* appCookie, ITAppProcPtr appProc, ConstStringPtr dataName,
                                  void* dataPtr, UInt32 dataSize) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    auto& request = messageInfo.u.setPluginNamedDataMessage;
    request.dataName = dataName;
    request.dataPtr = dataPtr;
    request.dataSize = dataSize;
    return ITCallApplication(appCookie, appProc, kPlayerSetPluginNamedDataMessage, &messageInfo);
}

OSStatus PlayerIdle(void* appCookie, ITAppProcPtr appProc) {
    return ITCallApplication(appCookie, appProc, kPlayerIdleMessage, nullptr);
}

void PlayerShowAbout(void* appCookie, ITAppProcPtr appProc) {
    ITCallApplication(appCookie, appProc, kPlayerShowAboutMessage, nullptr);
}

void PlayerOpenURL(void* appCookie, ITAppProcPtr appProc, SInt8* string, UInt32 length) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    messageInfo.u.openURLMessage.url = string;
    messageInfo.u.openURLMessage.length = length;
    ITCallApplication(appCookie, appProc, kPlayerOpenURLMessage, &messageInfo);
}

OSStatus PlayerUnregisterPlugin(void* appCookie, ITAppProcPtr appProc,
                                PlayerMessageInfo* messageInfo) {
    return ITCallApplication(appCookie, appProc, kPlayerUnregisterPluginMessage, messageInfo);
}

OSStatus PlayerRegisterVisualPlugin(void* appCookie, ITAppProcPtr appProc,
                                    PlayerMessageInfo* messageInfo) {
    return ITCallApplication(appCookie, appProc, kPlayerRegisterVisualPluginMessage, messageInfo);
}

OSStatus PlayerRegisterDevicePlugin(void* appCookie, ITAppProcPtr appProc,
                                    PlayerMessageInfo* messageInfo) {
    return ITCallApplication(appCookie, appProc, kPlayerRegisterDevicePluginMessage, messageInfo);
}

OSStatus PlayerSetDeviceSerialNumber(void* appCookie, ITAppProcPtr appProc,
                                     ConstStringPtr serialNumber) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    messageInfo.u.setDeviceSerialNumberMessage.serialNumber = serialNumber;
    return ITCallApplication(appCookie, appProc, kPlayerSetDeviceSerialNumberMessage,
                             &messageInfo);
}

OSStatus PlayerHandleMacOSEvent(void* appCookie, ITAppProcPtr appProc, const EventRecord* theEvent,
                                Boolean* eventHandled) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    messageInfo.u.handleMacOSEventMessage.theEvent = theEvent;
    OSStatus status =
        ITCallApplication(appCookie, appProc, kPlayerHandleMacOSEventMessage, &messageInfo);
    if (eventHandled != nullptr) *eventHandled = messageInfo.u.handleMacOSEventMessage.handled;
    return status;
}

OSStatus PlayerGetPluginFileSpec(void* appCookie, ITAppProcPtr appProc, FSSpec* pluginFileSpec) {
    PlayerMessageInfo messageInfo = ClearedMessageInfo();
    messageInfo.u.getPluginFileSpecMessage.fileSpec = pluginFileSpec;
    return ITCallApplication(appCookie, appProc, kPlayerGetPluginFileSpecMessage, &messageInfo);
}
