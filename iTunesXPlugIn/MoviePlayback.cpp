// Frames: the current movie and the notice.
#include "MoviePlayback.h"

Movie* gCurMovie;

// Until playback lands, a frame draws nothing.
void RenderVisualPort(VisualPluginData* visualPluginData, CGrafPtr destPort,
                      const Rect* destRect, Boolean onlyUpdate) {
    (void)visualPluginData;
    (void)destPort;
    (void)destRect;
    (void)onlyUpdate;
}
