// The play-list control thread and the requests the host's thread posts to it.
#include "PlayList.h"

// Shared by the host's, control and build threads: see PlayList.h.
pthread_mutex_t gContrlMoviePlayListLock = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t gToCntrlMoviePlayListThread = PTHREAD_COND_INITIALIZER;
int gPostedEventToCntrlMoviePlayList;
pthread_mutex_t gCurMovieStoreLock = PTHREAD_MUTEX_INITIALIZER;
pthread_t gCntrlPlayMovieListThread;
BuildPlayMovieListParam gBuildPlayMovListParamToCntrl;
FILE* consolefp;

// Until the control thread lands, requests are accepted and do nothing.
void SendInitToCntrlPlayMovieList(ITTrackInfo* trackInfo) {
    SetMusicInfoOfBuildPlayMovListParam(&gBuildPlayMovListParamToCntrl, trackInfo->genre,
                                        trackInfo->artist, trackInfo->album, trackInfo->name);
}

void SendStartToCntrlPlayMovieList(ITTrackInfo* trackInfo) { (void)trackInfo; }

void SendStopToCntrlPlayMovieList(void) {}

void SendCleanUpToCntrlPlayMovieList(void) {}
