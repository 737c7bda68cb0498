// The play-list control thread, the build thread, and the requests the host's
// thread posts to them.
//
// The control thread owns building: it starts one build thread per play list,
// cancels a build that a newer song or a stop has made useless, and publishes
// each finished list as the play list in use. Compared with a bare "last event"
// word, three things are made sound here:
//  - every post is kept until the control thread takes it (a pending request
//    and a pending completion, tested before each wait), so an event posted
//    before the thread first waits is never lost, and a wake-up without a post
//    (or a clean-up left over from an earlier shown period) does nothing;
//  - a completion is kept apart from the host's requests, so a start posted
//    while a build finishes is not overwritten by that build's completion;
//  - the control lock is released while a cancelled build is joined (the build
//    may be waiting for that lock to post its completion), and a finished build
//    is joined when its completion is handled.
#include "PlayList.h"

#include <cstdarg>

// Shared by the host's, control and build threads: see PlayList.h. The locks are
// statically initialised and never destroyed.
pthread_mutex_t gContrlMoviePlayListLock = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t gToCntrlMoviePlayListThread = PTHREAD_COND_INITIALIZER;
int gPostedEventToCntrlMoviePlayList;
pthread_mutex_t gCurMovieStoreLock = PTHREAD_MUTEX_INITIALIZER;
pthread_t gCntrlPlayMovieListThread;
BuildPlayMovieListParam gBuildPlayMovListParamToCntrl;
FILE* consolefp;

// Under the control lock: the newest request of the host's thread not yet taken
// (start, stop or clean-up; 0 when none), and whether the running build has
// posted its completion.
static int gPendingRequestToCntrl;
static Boolean gPendingCompleteToCntrl;
// Host's thread only: whether a control thread exists (between init and clean-up).
static Boolean gIsCntrlThreadRunning;

void ConsoleLog(const char* format, ...) {
    if (consolefp == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    vfprintf(consolefp, format, arguments);
    va_end(arguments);
}

// Under the control lock.
static void PostEventToCntrl(int event) {
    gPostedEventToCntrlMoviePlayList = event;
    if (event == kCntrlEventComplete)
        gPendingCompleteToCntrl = true;
    else
        gPendingRequestToCntrl = event;
    pthread_cond_signal(&gToCntrlMoviePlayListThread);
}

static UInt32 CountOfCurrentMovieStore() {
    pthread_mutex_lock(&gCurMovieStoreLock);
    UInt32 count = gCurMovieStore->StoredNumber;
    pthread_mutex_unlock(&gCurMovieStoreLock);
    return count;
}

void SendInitToCntrlPlayMovieList(ITTrackInfo* trackInfo) {
    // No control thread exists yet: no lock is needed for the criteria.
    SetMusicInfoOfBuildPlayMovListParam(&gBuildPlayMovListParamToCntrl, trackInfo->genre,
                                        trackInfo->artist, trackInfo->album, trackInfo->name);
    gPendingRequestToCntrl = 0;
    gPendingCompleteToCntrl = false;
    gIsCntrlThreadRunning =
        pthread_create(&gCntrlPlayMovieListThread, nullptr, CntrlPlayMovieListThreadMain,
                       nullptr) == 0;
}

void SendStartToCntrlPlayMovieList(ITTrackInfo* trackInfo) {
    if (CountOfCurrentMovieStore() == 0) return;
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    SetMusicInfoOfBuildPlayMovListParam(&gBuildPlayMovListParamToCntrl, trackInfo->genre,
                                        trackInfo->artist, trackInfo->album, trackInfo->name);
    PostEventToCntrl(kCntrlEventStart);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
}

void SendStopToCntrlPlayMovieList(void) {
    if (CountOfCurrentMovieStore() == 0) return;
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    PostEventToCntrl(kCntrlEventStop);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
}

void SendCleanUpToCntrlPlayMovieList(void) {
    if (!gIsCntrlThreadRunning) return; // nothing to end
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    PostEventToCntrl(kCntrlEventCleanUp);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    pthread_join(gCntrlPlayMovieListThread, nullptr);
    gIsCntrlThreadRunning = false;
}

// Control thread, holding the control lock: starts a build into the slot not in use.
static void StartBuild(pthread_t* buildThread, BuildPlayMovieListParam* toParam) {
    IncreRingBuffOfMovieStore();
    CopyBuildPlayMovListParam(&gBuildPlayMovListParamToCntrl, toParam);
    gPendingCompleteToCntrl = false;
    pthread_create(buildThread, nullptr, BuildPlayMovieListThreadMain, toParam);
}

// Control thread, holding the control lock: abandons the running build. The lock
// is released while joining, since the build may be waiting for it; whatever the
// build posted meanwhile belongs to it and is dropped. The slot in use was never
// written, so stepping back to it keeps the list in use.
static void CancelBuild(pthread_t buildThread) {
    pthread_cancel(buildThread);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    pthread_join(buildThread, nullptr);
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    gPendingCompleteToCntrl = false;
    DecreRingBuffOfMovieStore();
}

enum { kCntrlStatusIdle = 1, kCntrlStatusBuilding = 2 };

void* CntrlPlayMovieListThreadMain(void* unused) {
    (void)unused;
    pthread_t buildThread;
    BuildPlayMovieListParam toParam;

    pthread_mutex_lock(&gContrlMoviePlayListLock);
    ConsoleLog("INIT_BUILD_MOVIE_PLAY_LIST\n");
    StartBuild(&buildThread, &toParam);
    int status = kCntrlStatusBuilding;

    for (;;) {
        while (gPendingRequestToCntrl == 0 && !gPendingCompleteToCntrl)
            pthread_cond_wait(&gToCntrlMoviePlayListThread, &gContrlMoviePlayListLock);

        // A finished build is published before any newer request is acted on.
        if (gPendingCompleteToCntrl) {
            gPendingCompleteToCntrl = false;
            if (status == kCntrlStatusBuilding) {
                ConsoleLog("COMPLETE_BUILD_MOVIE_PLAY_LIST\n");
                // The build released the lock before ending: joining cannot wait on us.
                pthread_join(buildThread, nullptr);
                pthread_mutex_lock(&gCurMovieStoreLock);
                gCurMovieStore = &gRingBufMovieStore[gRingBuffCount];
                ConsoleLog("Builded Play List Num %ld\n", long(gCurMovieStore->StoredNumber));
                pthread_mutex_unlock(&gCurMovieStoreLock);
                status = kCntrlStatusIdle;
            }
            continue;
        }

        int event = gPendingRequestToCntrl;
        gPendingRequestToCntrl = 0;
        switch (event) {
        case kCntrlEventStart:
            ConsoleLog("START_BUILD_MOVIE_PLAY_LIST\n");
            if (status == kCntrlStatusBuilding) CancelBuild(buildThread);
            StartBuild(&buildThread, &toParam);
            status = kCntrlStatusBuilding;
            break;
        case kCntrlEventStop:
            ConsoleLog("STOP_BUILD_MOVIE_PLAY_LIST\n");
            if (status == kCntrlStatusBuilding) CancelBuild(buildThread);
            status = kCntrlStatusIdle;
            break;
        case kCntrlEventCleanUp:
            ConsoleLog("CLEANUP_BUILD_MOVIE_PLAY_LIST\n");
            if (status == kCntrlStatusBuilding) CancelBuild(buildThread);
            pthread_mutex_unlock(&gContrlMoviePlayListLock);
            return nullptr;
        default:
            break;
        }
    }
}

void* BuildPlayMovieListThreadMain(void* aParam) {
    auto* param = static_cast<BuildPlayMovieListParam*>(aParam);
    pthread_setcanceltype(PTHREAD_CANCEL_DEFERRED, nullptr);
    pthread_setcancelstate(PTHREAD_CANCEL_ENABLE, nullptr);

    switch (param->searchMethod) {
    case kSearchMethodBrowse:
        BuildPlayMovieListByBrowse(param);
        break;
    case kSearchMethodOr:
        BuildPlayMovieListByOrSearch(param);
        break;
    case kSearchMethodAnd:
        BuildPlayMovieListByAndSearch(param);
        break;
    default:
        BuildPlayMovieListByNoneSearch();
        break;
    }

    // The list is in its slot: from here nothing may act on a cancellation, and
    // the log print (a cancellation point) must not end the thread holding the lock.
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
    pthread_mutex_lock(&gContrlMoviePlayListLock);
    ConsoleLog("DONE_BUILD_MOVIE_PLAY_LIST\n");
    PostEventToCntrl(kCntrlEventComplete);
    pthread_mutex_unlock(&gContrlMoviePlayListLock);
    return nullptr;
}
