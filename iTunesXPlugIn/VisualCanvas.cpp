// The offscreen canvas that follows the visualizer port, and re-targeting of the
// movies to a new port or rectangle. Host's thread only.
//
// Movies draw straight into the visualizer port; the canvas (a 32-bit offscreen
// world exactly the size of the visualizer rectangle) serves the notice drawn
// when there is no movie, and its existence tells rendering the visualizer is live.
#include "VisualCanvas.h"

#include "PlayList.h"

CGrafPtr gSavePort;
GDHandle gSaveDevice;

static const SInt16 kCanvasDepth = 32;

OSStatus ChangeVisualPort(VisualPluginData* visualPluginData, CGrafPtr destPort,
                          const Rect* destRect) {
    OSStatus status = noErr;
    Boolean doAllocate = false;
    Boolean doDeallocate = false;

    if (destPort == nullptr) {
        doDeallocate = true;
    } else if (visualPluginData->destPort == nullptr) {
        doAllocate = true;
    } else if (!EqualRect(destRect, &visualPluginData->destRect)) {
        // A rectangle that only moves still remakes the canvas.
        doDeallocate = true;
        doAllocate = true;
    }

    if (doDeallocate) DeallocateVisualData(visualPluginData);
    if (doAllocate) status = AllocateVisualData(visualPluginData, destPort, destRect);
    if (status != noErr) destPort = nullptr;

    visualPluginData->destPort = destPort;
    if (destRect != nullptr) visualPluginData->destRect = *destRect;
    return status;
}

OSStatus AllocateVisualData(VisualPluginData* visualPluginData, CGrafPtr destPort,
                            const Rect* destRect) {
    (void)destPort; // the canvas is made in memory of its own
    GetGWorld(&gSavePort, &gSaveDevice);

    Rect allocateRect = *destRect;
    OffsetRect(&allocateRect, SInt16(-allocateRect.left), SInt16(-allocateRect.top));

    OSStatus status = NewGWorld(&visualPluginData->offscreen, kCanvasDepth, &allocateRect,
                                nullptr, nullptr, useTempMem);
    if (status == noErr) {
        LockPixels(GetGWorldPixMap(visualPluginData->offscreen));
        SetGWorld(visualPluginData->offscreen, nullptr);
        ForeColor(blackColor);
        PaintRect(&allocateRect);
    } else {
        visualPluginData->offscreen = nullptr;
    }

    SetGWorld(gSavePort, gSaveDevice);
    return status;
}

void DeallocateVisualData(VisualPluginData* visualPluginData) {
    if (visualPluginData->offscreen != nullptr) {
        DisposeGWorld(visualPluginData->offscreen);
        visualPluginData->offscreen = nullptr;
    }
}

void ResizePlayMovieList(CGrafPtr aPort, const Rect* aRect) {
    pthread_mutex_lock(&gCurMovieStoreLock);
    UInt32 count = gCurMovieStore->StoredNumber;
    pthread_mutex_unlock(&gCurMovieStoreLock);
    if (count == 0) return;

    // Every loaded movie, not only those of the list in use, so a later list can
    // start any of them in the right place. gAllMovieStore changes only on this thread.
    for (UInt32 i = 0; i < gAllMovieStore.StoredNumber; ++i) {
        Movie movie = gAllMovieStore.movStreamArray[i]->gMovie;
        SetMovieGWorld(movie, aPort, nullptr);
        SetMovieBox(movie, aRect);
    }
}

const BitMap* GetPortCopyBitsBitMap(CGrafPtr port) { return GetPortBitMapForCopyBits(port); }
