// Play lists: the text-track search, the four builders, and the control thread
// that rebuilds the list in use in the background for every new song.
#pragma once

#include <cstdio>
#include <pthread.h>

#include "BuildPlayMovieListParam.h"
#include "MovieStore.h"
#include "iTunesVisualAPI.h"

// Events posted to the control thread.
enum {
    kCntrlEventStart = 1,
    kCntrlEventStop = 2,
    kCntrlEventComplete = 3,
    kCntrlEventCleanUp = 4,
};

// Shared state of the three threads (host's, control, build). Lock order: the
// control lock before gCurMovieStoreLock, never the reverse.
//  - gContrlMoviePlayListLock guards the posted events and
//    gBuildPlayMovListParamToCntrl while the control thread runs;
//  - gCurMovieStoreLock guards gCurMovieStore and the list it points to;
//  - consolefp is the console log, written one formatted print per line.
extern pthread_mutex_t gContrlMoviePlayListLock;
extern pthread_cond_t gToCntrlMoviePlayListThread;
extern int gPostedEventToCntrlMoviePlayList;
extern pthread_mutex_t gCurMovieStoreLock;
extern pthread_t gCntrlPlayMovieListThread;
extern BuildPlayMovieListParam gBuildPlayMovListParamToCntrl;
extern FILE* consolefp;

// Writes one line (one formatted print) to the console log, when it is open.
void ConsoleLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Search and builders: build thread only.
Boolean SearchTextTrackInMovieStream(MovieStream* aMovieStream, StringPtr keyword);
void BuildPlayMovieListByBrowse(BuildPlayMovieListParam* aParam);
void BuildPlayMovieListByOrSearch(BuildPlayMovieListParam* aParam);
void BuildPlayMovieListByAndSearch(BuildPlayMovieListParam* aParam);
void BuildPlayMovieListByNoneSearch(void);

// Requests: host's thread.
void SendInitToCntrlPlayMovieList(ITTrackInfo* trackInfo);
void SendStartToCntrlPlayMovieList(ITTrackInfo* trackInfo);
void SendStopToCntrlPlayMovieList(void);
void SendCleanUpToCntrlPlayMovieList(void);

// Thread bodies.
void* CntrlPlayMovieListThreadMain(void* unused);
void* BuildPlayMovieListThreadMain(void* aParam);
