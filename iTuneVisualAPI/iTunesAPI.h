// The host call channel: the records and codes a plug-in and its host exchange,
// and the requests a plug-in makes through the host's application procedure.
//
// Every request is made on the host's thread (the entry point, the visual
// message handler, the settings window). A record handed to the host lives only
// for the duration of the call; the host owns nothing it is given.
//
// Records keep the classic field order and widths; pointer fields are native
// pointers, so on a 64-bit machine the records are wider than the classic
// 32-bit ones and messageInfoSize says which layout is in use.
#pragma once

#include "MacTypes.h"
#include "Files.h"

struct PlayerMessageInfo;

// The host's application procedure: cookie, request code, record.
typedef OSStatus (*ITAppProcPtr)(void* appCookie, OSType message, PlayerMessageInfo* messageInfo);

union VisualPluginMessageInfo;
typedef OSStatus (*VisualPluginProcPtr)(OSType message, VisualPluginMessageInfo* messageInfo,
                                        void* refCon);
struct DevicePluginMessageInfo;
typedef OSStatus (*DevicePluginProcPtr)(OSType message, DevicePluginMessageInfo* messageInfo,
                                        void* refCon);

// A low-level event handed to the host for handling.
struct EventRecord {
    UInt16 what;
    UInt32 message;
    UInt32 when;
    Point where;
    UInt16 modifiers;
};

enum : UInt32 {
    kITPluginMajorMessageVersion = 10,
    kITPluginMinorMessageVersion = 1,
};

// Registration options.
enum : OptionBits {
    kVisualWantsIdleMessages = 8,
    kVisualWantsConfigure = 32,
};

// Entry messages, visual messages and player requests.
enum : OSType {
    kPluginInitMessage = FourCC("init"),
    kPluginCleanupMessage = FourCC("clr "),

    kVisualPluginInitMessage = FourCC("init"),
    kVisualPluginCleanupMessage = FourCC("clr "),
    kVisualPluginEnableMessage = FourCC("von "),
    kVisualPluginDisableMessage = FourCC("voff"),
    kVisualPluginIdleMessage = FourCC("null"),
    kVisualPluginConfigureMessage = FourCC("cnfg"),
    kVisualPluginShowWindowMessage = FourCC("show"),
    kVisualPluginHideWindowMessage = FourCC("hide"),
    kVisualPluginSetWindowMessage = FourCC("swin"),
    kVisualPluginRenderMessage = FourCC("vrnd"),
    kVisualPluginUpdateMessage = FourCC("vupd"),
    kVisualPluginPlayMessage = FourCC("vply"),
    kVisualPluginChangeTrackMessage = FourCC("ctrk"),
    kVisualPluginStopMessage = FourCC("vstp"),
    kVisualPluginSetPositionMessage = FourCC("setp"),
    kVisualPluginPauseMessage = FourCC("vpau"),
    kVisualPluginUnpauseMessage = FourCC("vunp"),
    kVisualPluginEventMessage = FourCC("vevt"),

    kPlayerSetFullScreenMessage = FourCC("sful"),
    kPlayerSetFullScreenOptionsMessage = FourCC("sfop"),
    kPlayerGetPluginDataMessage = FourCC("gprf"),
    kPlayerSetPluginDataMessage = FourCC("sprf"),
    kPlayerGetPluginNamedDataMessage = FourCC("gnpr"),
    kPlayerSetPluginNamedDataMessage = FourCC("snpr"),
    kPlayerIdleMessage = FourCC("idle"),
    kPlayerShowAboutMessage = FourCC("abou"),
    kPlayerOpenURLMessage = FourCC("url "),
    kPlayerUnregisterPluginMessage = FourCC("unrg"),
    kPlayerRegisterVisualPluginMessage = FourCC("rvis"),
    kPlayerRegisterDevicePluginMessage = FourCC("rdev"),
    kPlayerSetDeviceSerialNumberMessage = FourCC("dvsn"),
    kPlayerHandleMacOSEventMessage = FourCC("evnt"),
    kPlayerGetPluginFileSpecMessage = FourCC("pspc"),
};

// The entry point's message record.
struct PluginInitMessage {
    UInt32 majorVersion;
    UInt32 minorVersion;
    void* appCookie;
    ITAppProcPtr appProc;
    OptionBits options;
    void* refCon;
};

union PluginMessageInfo {
    PluginInitMessage initMessage;
};

// Request members of PlayerMessageInfo.
struct PlayerRegisterVisualPluginMessage {
    Str63 name;
    OptionBits options;
    OSType creator;
    NumVersion pluginVersion;
    VisualPluginProcPtr handler;
    void* registerRefCon;
    UInt32 timeBetweenDataInMS;
    UInt32 numWaveformChannels;
    UInt32 numSpectrumChannels;
    SInt16 minWidth;
    SInt16 minHeight;
    SInt16 maxWidth;
    SInt16 maxHeight;
    UInt16 minFullScreenBitDepth;
    UInt16 maxFullScreenBitDepth;
    UInt16 windowAlignmentInBytes;
};

struct PlayerRegisterDevicePluginMessage {
    Str63 name;
    OptionBits options;
    NumVersion pluginVersion;
    DevicePluginProcPtr handler;
    void* registerRefCon;
    UInt32 reserved[2];
};

struct PlayerOpenURLMessage {
    SInt8* url;
    UInt32 length;
};

struct PlayerSetPluginDataMessage {
    void* dataPtr;
    UInt32 dataSize;
};

struct PlayerGetPluginDataMessage {
    void* dataPtr;
    UInt32 dataBufferSize;
    UInt32 dataSize; // set by the host
};

struct PlayerSetPluginNamedDataMessage {
    ConstStringPtr dataName;
    void* dataPtr;
    UInt32 dataSize;
};

struct PlayerGetPluginNamedDataMessage {
    ConstStringPtr dataName;
    void* dataPtr;
    UInt32 dataBufferSize;
    UInt32 dataSize; // set by the host
};

struct PlayerHandleMacOSEventMessage {
    const EventRecord* theEvent;
    Boolean handled; // set by the host
};

struct PlayerGetPluginFileSpecMessage {
    FSSpec* fileSpec; // filled by the host
};

struct PlayerSetFullScreenMessage {
    Boolean fullScreen;
};

struct PlayerSetFullScreenOptionsMessage {
    SInt16 minBitDepth;
    SInt16 maxBitDepth;
    SInt16 preferredBitDepth;
    SInt16 desiredWidth;
    SInt16 desiredHeight;
};

struct PlayerSetDeviceSerialNumberMessage {
    ConstStringPtr serialNumber;
};

struct PlayerMessageInfo {
    UInt32 messageMajorVersion; // 10 when sent
    UInt32 messageMinorVersion; // 1 when sent
    UInt32 messageInfoSize;     // sizeof(PlayerMessageInfo) when sent
    union {
        PlayerRegisterVisualPluginMessage registerVisualPluginMessage;
        PlayerRegisterDevicePluginMessage registerDevicePluginMessage;
        PlayerOpenURLMessage openURLMessage;
        PlayerSetPluginDataMessage setPluginDataMessage;
        PlayerGetPluginDataMessage getPluginDataMessage;
        PlayerSetPluginNamedDataMessage setPluginNamedDataMessage;
        PlayerGetPluginNamedDataMessage getPluginNamedDataMessage;
        PlayerHandleMacOSEventMessage handleMacOSEventMessage;
        PlayerGetPluginFileSpecMessage getPluginFileSpecMessage;
        PlayerSetFullScreenMessage setFullScreenMessage;
        PlayerSetFullScreenOptionsMessage setFullScreenOptionsMessage;
        PlayerSetDeviceSerialNumberMessage setDeviceSerialNumberMessage;
    } u;
};

// The registration fields before the handler are fixed on every machine.
static_assert(offsetof(PlayerRegisterVisualPluginMessage, options) == 64);
static_assert(offsetof(PlayerRegisterVisualPluginMessage, creator) == 68);
static_assert(offsetof(PlayerRegisterVisualPluginMessage, pluginVersion) == 72);
// With 4-byte pointers the records are the classic ones, byte for byte.
static_assert(sizeof(void*) != 4 || offsetof(PlayerMessageInfo, u) == 12);
static_assert(sizeof(void*) != 4 || sizeof(PlayerMessageInfo) == 124);
static_assert(sizeof(void*) != 4 || sizeof(PlayerRegisterVisualPluginMessage) == 112);
static_assert(sizeof(void*) != 4 || sizeof(PlayerRegisterDevicePluginMessage) == 88);
static_assert(sizeof(void*) != 4 || offsetof(PlayerRegisterVisualPluginMessage, handler) == 76);
static_assert(sizeof(void*) != 4 ||
              offsetof(PlayerRegisterVisualPluginMessage, registerRefCon) == 80);
static_assert(sizeof(void*) != 4 ||
              offsetof(PlayerRegisterVisualPluginMessage, timeBetweenDataInMS) == 84);
static_assert(sizeof(void*) != 4 ||
              offsetof(PlayerRegisterVisualPluginMessage, numWaveformChannels) == 88);
static_assert(sizeof(void*) != 4 ||
              offsetof(PlayerRegisterVisualPluginMessage, numSpectrumChannels) == 92);
static_assert(sizeof(void*) != 4 || offsetof(PlayerRegisterVisualPluginMessage, minWidth) == 96);
static_assert(sizeof(void*) != 4 || offsetof(PlayerRegisterVisualPluginMessage, maxHeight) == 102);
static_assert(sizeof(void*) != 4 ||
              offsetof(PlayerRegisterVisualPluginMessage, windowAlignmentInBytes) == 108);
static_assert(sizeof(void*) != 4 || sizeof(PlayerGetPluginNamedDataMessage) == 16);

extern "C" {
// Stamps the header (10, 1, sizeof(PlayerMessageInfo)), replacing a NULL record
// by a zeroed one, and calls the host; the host's status is returned unchanged.
ZT_EXPORT OSStatus ITCallApplication(void* appCookie, ITAppProcPtr handler, OSType message,
                                     PlayerMessageInfo* messageInfo);
ZT_EXPORT void SetNumVersion(NumVersion* numVersion, UInt8 majorRev, UInt8 minorAndBugRev,
                             UInt8 stage, UInt8 nonRelRev);

// One wrapper per request. Out-arguments are written from the host's answer even
// when the host reports an error; NULL out-pointers are skipped.
ZT_EXPORT OSStatus PlayerSetFullScreen(void* appCookie, ITAppProcPtr appProc, Boolean fullScreen);
ZT_EXPORT OSStatus PlayerSetFullScreenOptions(void* appCookie, ITAppProcPtr appProc,
                                              SInt16 minBitDepth, SInt16 maxBitDepth,
                                              SInt16 preferredBitDepth, SInt16 desiredWidth,
                                              SInt16 desiredHeight);
ZT_EXPORT OSStatus PlayerGetPluginData(void* appCookie, ITAppProcPtr appProc, void* dataPtr,
                                       UInt32 dataBufferSize, UInt32* dataSize);
ZT_EXPORT OSStatus PlayerSetPluginData(void* appCookie, ITAppProcPtr appProc, void* dataPtr,
                                       UInt32 dataSize);
ZT_EXPORT OSStatus PlayerGetPluginNamedData(void* appCookie, ITAppProcPtr appProc,
                                            ConstStringPtr dataName, void* dataPtr,
                                            UInt32 dataBufferSize, UInt32* dataSize);
ZT_EXPORT OSStatus PlayerSetPluginNamedData(void* appCookie, ITAppProcPtr appProc,
                                            ConstStringPtr dataName, void* dataPtr,
                                            UInt32 dataSize);
ZT_EXPORT OSStatus PlayerIdle(void* appCookie, ITAppProcPtr appProc);
ZT_EXPORT void PlayerShowAbout(void* appCookie, ITAppProcPtr appProc);
ZT_EXPORT void PlayerOpenURL(void* appCookie, ITAppProcPtr appProc, SInt8* string, UInt32 length);
ZT_EXPORT OSStatus PlayerUnregisterPlugin(void* appCookie, ITAppProcPtr appProc,
                                          PlayerMessageInfo* messageInfo);
ZT_EXPORT OSStatus PlayerRegisterVisualPlugin(void* appCookie, ITAppProcPtr appProc,
                                              PlayerMessageInfo* messageInfo);
ZT_EXPORT OSStatus PlayerRegisterDevicePlugin(void* appCookie, ITAppProcPtr appProc,
                                              PlayerMessageInfo* messageInfo);
ZT_EXPORT OSStatus PlayerSetDeviceSerialNumber(void* appCookie, ITAppProcPtr appProc,
                                               ConstStringPtr serialNumber);
ZT_EXPORT OSStatus PlayerHandleMacOSEvent(void* appCookie, ITAppProcPtr appProc,
                                          const EventRecord* theEvent, Boolean* eventHandled);
ZT_EXPORT OSStatus PlayerGetPluginFileSpec(void* appCookie, ITAppProcPtr appProc,
                                           FSSpec* pluginFileSpec);
}
