// The visual plug-in's records: the track and stream the host is playing, the
// sound data of a render message, and the message record the host passes to
// the registered handler with every visual message.
//
// Threads: the host sends every visual message on its own thread, one at a
// time. Pointers in a message record belong to the host and are valid only
// during the call.
#pragma once

#include "iTunesAPI.h"
#include "QuickDraw.h"

// The track now playing. Song strings are Str255, cut to 255 bytes at a UTF-8
// character boundary by the host. The layout is fixed: 2112 bytes on any machine.
struct ITTrackInfo {
    UInt32 validFields;
    UInt32 reserved;
    Str255 name;
    Str255 fileName;
    Str255 artist;
    Str255 album;
    Str255 genre;
    Str255 kind;
    UInt32 trackNumber;
    UInt32 numTracks;
    UInt32 year;
    SInt16 soundVolumeAdjustment;
    SInt16 reserved2;
    Str255 eqPresetName;
    Str255 comments;
    UInt32 totalTimeInMS;
    UInt32 startTimeInMS;
    UInt32 stopTimeInMS;
    UInt32 sizeInBytes;
    UInt32 bitRate;
    UInt32 sampleRateFixed;
    OSType fileType;
    UInt32 date;
    UInt32 unusedReserved;
    UInt32 playedCount;
};
static_assert(sizeof(ITTrackInfo) == 2112);

// The stream now playing (radio); 772 bytes on any machine.
struct ITStreamInfo {
    SInt32 version;
    Str255 streamTitle;
    Str255 streamURL;
    Str255 streamMessage;
};
static_assert(sizeof(ITStreamInfo) == 772);

enum { kVisualMaxDataChannels = 2, kVisualNumWaveformEntries = 512, kVisualNumSpectrumEntries = 512 };

struct RenderVisualData {
    UInt8 numWaveformChannels;
    UInt8 waveformData[kVisualMaxDataChannels][kVisualNumWaveformEntries];
    UInt8 numSpectrumChannels;
    UInt8 spectrumData[kVisualMaxDataChannels][kVisualNumSpectrumEntries];
};
static_assert(sizeof(RenderVisualData) == 2050);

// The sound format of a play message (not looked at by Zoetropica).
struct ITSoundFormat {
    UInt32 flags;
    OSType format;
    UInt16 numChannels;
    UInt16 sampleSize;
    UInt32 sampleRate;
};

struct VisualPluginInitMessage {
    UInt32 messageMajorVersion;
    UInt32 messageMinorVersion;
    NumVersion appVersion;
    void* appCookie;
    ITAppProcPtr appProc;
    OptionBits options;
    void* refCon; // written by the plug-in: its instance record
};

struct VisualPluginShowWindowMessage {
    CGrafPtr port;
    Rect drawRect;
    OptionBits options;
};

struct VisualPluginSetWindowMessage {
    CGrafPtr port;
    Rect drawRect;
    OptionBits options;
};

struct VisualPluginPlayMessage {
    ITTrackInfo* trackInfo;
    ITStreamInfo* streamInfo;
    SInt32 volume;
    UInt32 bitRate;
    ITSoundFormat soundFormat;
};

struct VisualPluginChangeTrackMessage {
    ITTrackInfo* trackInfo;
    ITStreamInfo* streamInfo;
};

struct VisualPluginRenderMessage {
    RenderVisualData* renderData;
    UInt32 timeStampID;
};

struct VisualPluginSetPositionMessage {
    UInt32 positionTimeInMS;
};

struct VisualPluginEventMessage {
    EventRecord* event;
};

union VisualPluginMessageInfo {
    VisualPluginInitMessage initMessage;
    VisualPluginShowWindowMessage showWindowMessage;
    VisualPluginSetWindowMessage setWindowMessage;
    VisualPluginPlayMessage playMessage;
    VisualPluginChangeTrackMessage changeTrackMessage;
    VisualPluginRenderMessage renderMessage;
    VisualPluginSetPositionMessage setPositionMessage;
    VisualPluginEventMessage eventMessage;
};

// Play and change-track carry their two pointers at the same place.
static_assert(offsetof(VisualPluginPlayMessage, trackInfo) ==
              offsetof(VisualPluginChangeTrackMessage, trackInfo));
static_assert(offsetof(VisualPluginPlayMessage, streamInfo) ==
              offsetof(VisualPluginChangeTrackMessage, streamInfo));
