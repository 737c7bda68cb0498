// The offscreen canvas and port changes.
#include "VisualCanvas.h"

CGrafPtr gSavePort;
GDHandle gSaveDevice;

// Until the canvas lands, the port and rectangle are only recorded.
OSStatus ChangeVisualPort(VisualPluginData* visualPluginData, CGrafPtr destPort,
                          const Rect* destRect) {
    visualPluginData->destPort = destPort;
    if (destRect != nullptr) visualPluginData->destRect = *destRect;
    return noErr;
}

void ResizePlayMovieList(CGrafPtr aPort, const Rect* aRect) {
    (void)aPort;
    (void)aRect;
}
