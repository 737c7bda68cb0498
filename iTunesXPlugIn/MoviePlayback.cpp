// Frames: servicing the current movie and choosing the next one, or, with no
// movie to play, the notice painted on the canvas and copied to the visualizer.
// Host's thread only; RenderVisualPort holds gCurMovieStoreLock for the whole
// frame, so the control thread never swaps the play list in the middle of one.
#include "MoviePlayback.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "PlayList.h"
#include "VisualCanvas.h"

Movie* gCurMovie;

// The notice: five lines, baselines measured up from the canvas's bottom edge.
static const int kNoticeFontSize = 12;
static const int kNoticeOffsetX = 5;
static const struct {
    int offsetY;
    const char* text;
} kNoticeLines[] = {
    {75, "Zoetropica. iTunes visual plug-in for play QT movie."},
    {60, "It plays the movies of a folder, picking those whose subtitles name the song."},
    {45, " "},
    {30, "There is not a movie in selected folder."},
    {15, "Press the option button, select a folder that has movies."},
};

void RenderVisualPort(VisualPluginData* visualPluginData, CGrafPtr destPort,
                      const Rect* destRect, Boolean onlyUpdate) {
    (void)onlyUpdate; // render, update and idle frames all take the same path
    pthread_mutex_lock(&gCurMovieStoreLock);
    if (gCurMovieStore->StoredNumber == 0) {
        DrawNoneMovieMessage(visualPluginData, destPort, destRect);
        PostDrawProcess(visualPluginData, destPort, destRect);
    } else {
        DoPlayMovie(visualPluginData, destPort, destRect);
    }
    pthread_mutex_unlock(&gCurMovieStoreLock);
}

void DoPlayMovie(VisualPluginData* visualPluginData, CGrafPtr aPort, const Rect* aRect) {
    if (aPort == nullptr || aRect == nullptr || visualPluginData->offscreen == nullptr) return;
    MoviesTask(*gCurMovie, 0);
    if (IsMovieDone(*gCurMovie)) {
        StopMovie(*gCurMovie);
        ChangeCurrentMovie();
        GoToBeginningOfMovie(*gCurMovie);
        StartMovie(*gCurMovie);
    }
}

void ChangeCurrentMovie(void) {
    // The position of the next movie in order. It survives play-list changes, so
    // the order goes on at the same position in a new list when it exists there.
    static SInt32 changedNum = 0;

    UInt32 storedNumber = gCurMovieStore->StoredNumber;
    if (storedNumber == 0) return;
    if (UInt32(changedNum) >= storedNumber) changedNum = 0;

    UInt32 i;
    if (gBuildPlayMovListParamToCntrl.playMode == kPlayModeRandom)
        i = UInt32(std::rand()) % storedNumber;
    else
        i = UInt32(changedNum);

    changedNum++;
    if (UInt32(changedNum) == storedNumber) {
        std::srand(unsigned(std::time(nullptr)));
        changedNum = 0;
    }
    gCurMovie = GetMovieFromMovieStore(gCurMovieStore, int(i));
}

void DrawNoneMovieMessage(VisualPluginData* visualPluginData, CGrafPtr destPort,
                          const Rect* destRect) {
    GetGWorld(&gSavePort, &gSaveDevice);
    if (destPort == nullptr || destRect == nullptr || visualPluginData->offscreen == nullptr)
        return;

    Rect srcRect = *destRect;
    OffsetRect(&srcRect, SInt16(-srcRect.left), SInt16(-srcRect.top));
    SetGWorld(visualPluginData->offscreen, nullptr);

    ForeColor(whiteColor);
    PaintRect(&srcRect);
    ForeColor(blackColor);
    BackColor(whiteColor);
    for (const auto& line : kNoticeLines)
        DrawMessage(kNoticeFontSize, kNoticeOffsetX, line.offsetY, line.text, &srcRect);
    // The canvas stays current; PostDrawProcess restores the saved port.
}

void PostDrawProcess(VisualPluginData* visualPluginData, CGrafPtr destPort,
                     const Rect* destRect) {
    Rect srcRect = *destRect;
    Rect dstRect = *destRect;
    if (destPort == nullptr || visualPluginData->offscreen == nullptr) return;
    OffsetRect(&srcRect, SInt16(-srcRect.left), SInt16(-srcRect.top));

    const BitMap* srcBitMap = GetPortCopyBitsBitMap(visualPluginData->offscreen);
    const BitMap* dstBitMap = GetPortCopyBitsBitMap(destPort);
    SetGWorld(destPort, nullptr);
    ForeColor(blackColor);
    BackColor(whiteColor);
    CopyBits(srcBitMap, dstBitMap, &srcRect, &dstRect, srcCopy, nullptr);
    SetGWorld(gSavePort, gSaveDevice);
}

void DrawMessage(int fontSize, int offsetX, int offsetY, const char* msg, const Rect* aRect) {
    char cString[300];
    Str255 pString;

    TextSize(SInt16(fontSize));
    TextMode(srcCopy);
    MoveTo(SInt16(aRect->left + offsetX), SInt16(aRect->bottom - offsetY));
    // The text is copied, never used as a format: any text is safe, cut to fit.
    std::snprintf(cString, sizeof cString, "%s", msg);
    CopyCStringToPascal(cString, pString);
    DrawString(pString);
}
