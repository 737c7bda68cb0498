// The plug-in's instance record: one per 'init', freed on 'clr '. Its address is
// the reference constant the host hands back with every visual message. Read
// and written only on the host's thread.
#pragma once

#include "iTunesVisualAPI.h"
#include "Files.h"
#include "QuickDraw.h"

struct VisualPluginData {
    void* appCookie;
    ITAppProcPtr appProc;
    FSSpec pluginFileSpec;
    CGrafPtr destPort;  // the visualizer port; NULL while hidden or when the canvas failed
    Rect destRect;      // the visualizer rectangle in port coordinates
    OptionBits destOptions;
    UInt32 destBitDepth;
    RenderVisualData renderData; // stays zero: sound data is not copied
    UInt32 renderTimeStampID;
    ITTrackInfo trackInfo;   // the song now playing; all zero when none is known
    ITStreamInfo streamInfo; // the stream now playing; all zero when none is known
    Boolean playing;
    Boolean padding[3];
    GWorldPtr offscreen; // the canvas; NULL when none is allocated
    FSRef movieFolderRef; // the movie folder, as stored with the host
};
