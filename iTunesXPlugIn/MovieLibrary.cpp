// Set-up and tear-down of the movie library.
#include "MovieLibrary.h"

#include "Console.h"
#include "PlayList.h"

// The key of the one stored setting: the movie folder's 80-byte FSRef.
static const unsigned char kMoviesFolderKey[] = {13,  'M', 'o', 'v', 'i', 'e', 's',
                                                 ' ', 'F', 'o', 'l', 'd', 'e', 'r'};
static const UInt32 kMoviesFolderSize = sizeof(FSRef);

void PreInitZoetropica(void) {
    // A stream left by an earlier 'init' is closed rather than leaked.
    if (consolefp != nullptr) fclose(consolefp);
    consolefp = OpenConsoleStream();

    // The two locks and the condition are made statically initialised when the
    // bundle loads and never destroyed, so a second 'init' cannot re-initialise a
    // lock another thread might hold.

    gRingBufMovieStore[0].StoredNumber = 0;
    gRingBufMovieStore[1].StoredNumber = 0;
    gRingBuffCount = 0;
    gCurMovieStore = &gRingBufMovieStore[0];

    gBuildPlayMovListParamToCntrl.genreOfNowTrack[0] = 0;
    gBuildPlayMovListParamToCntrl.artistOfNowTrack[0] = 0;
    gBuildPlayMovListParamToCntrl.albumOfNowTrack[0] = 0;
    gBuildPlayMovListParamToCntrl.titleOfNowTrack[0] = 0;
    SetBuildFlagOfBuildPlayMovListParam(&gBuildPlayMovListParamToCntrl, 1, 1, 1, 1,
                                        kSearchMethodNone, kPlayModeRandom);
}

void InitZoetropica(VisualPluginData* visualPluginData, FSRef* aMoviesFolder,
                    BuildPlayMovieListParam* aBuildPlayMovieListParam) {
    UInt32 dummy = 0;
    PlayerGetPluginNamedData(visualPluginData->appCookie, visualPluginData->appProc,
                             kMoviesFolderKey, aMoviesFolder, kMoviesFolderSize, &dummy);
    if (aBuildPlayMovieListParam != nullptr)
        CopyBuildPlayMovListParam(aBuildPlayMovieListParam, &gBuildPlayMovListParamToCntrl);
    SendInitToCntrlPlayMovieList(&visualPluginData->trackInfo);
}

void CleanUpZoetropica(VisualPluginData* visualPluginData, FSRef* aMoviesFolder) {
    PlayerSetPluginNamedData(visualPluginData->appCookie, visualPluginData->appProc,
                             kMoviesFolderKey, aMoviesFolder, kMoviesFolderSize);
    SendCleanUpToCntrlPlayMovieList();
}
