// The offscreen canvas that follows the visualizer port, and re-targeting of the
// movies when the port or rectangle changes. Host's thread.
#pragma once

#include "VisualPluginData.h"

// The graphics world and device saved while the canvas code makes another port
// current: single slots, overwritten by every save. Host's thread only.
extern CGrafPtr gSavePort;
extern GDHandle gSaveDevice;

OSStatus ChangeVisualPort(VisualPluginData* visualPluginData, CGrafPtr destPort,
                          const Rect* destRect);
OSStatus AllocateVisualData(VisualPluginData* visualPluginData, CGrafPtr destPort,
                            const Rect* destRect);
void DeallocateVisualData(VisualPluginData* visualPluginData);
void ResizePlayMovieList(CGrafPtr aPort, const Rect* aRect);
const BitMap* GetPortCopyBitsBitMap(CGrafPtr port);
