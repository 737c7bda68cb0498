// Set-up and tear-down of the movie library. Host's thread only.
//
// Set-up reads the movie folder stored with the host, opens every movie in it
// (attached to the visualizer port and scaled to its rectangle), gives every
// store room for all of them, starts the first movie and the control thread.
// Tear-down stores the folder with the host, ends the control thread (and any
// build) and then frees every movie and store. The two alternate; set-up runs
// only while no control thread exists.
#include "MovieLibrary.h"

#include <cstdlib>
#include <ctime>

#include "Console.h"
#include "MoviePlayback.h"
#include "PlayList.h"

// The key of the one stored setting: the movie folder's 80-byte FSRef.
static const unsigned char kMoviesFolderKey[] = {13,  'M', 'o', 'v', 'i', 'e', 's',
                                                 ' ', 'F', 'o', 'l', 'd', 'e', 'r'};
static const UInt32 kMoviesFolderSize = sizeof(FSRef);
static const FSCatalogInfoBitmap kCatalogInfoBitmap = kFSCatInfoNone;

// Whether set-up ran without a tear-down since (host's thread only).
static Boolean gIsLibrarySetUp;

// Every store but gAllMovieStore, which can take any selection of the movies.
static MovieStore* const kBorrowingStores[] = {
    &gHitGenreMStore, &gHitGenreArtistMStore, &gHitGenreArtistAlbumMStore,
    &gHitGenreArtistAlbumNameMStore, &gOrMovieStore, &gAndMovieStore,
    &gRingBufMovieStore[0], &gRingBufMovieStore[1],
};

void PreInitZoetropica(void) {
    // A stream left by an earlier 'init' is closed rather than leaked.
    if (consolefp != nullptr) fclose(consolefp);
    consolefp = OpenConsoleStream();

    // The two locks and the condition are statically initialised when the
    // bundle loads and never destroyed, so a second 'init' cannot re-initialise
    // a lock another thread might hold.

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

// Appends a stream to gAllMovieStore, growing its array when full. False when
// memory is short (the stream is then not kept).
static Boolean AppendToAllMovieStore(MovieStream* aMovieStream, UInt32* capacity) {
    if (gAllMovieStore.StoredNumber == *capacity) {
        UInt32 newCapacity = *capacity * 2;
        auto* grown = static_cast<MovieStream**>(
            std::realloc(gAllMovieStore.movStreamArray, newCapacity * sizeof(MovieStream*)));
        if (grown == nullptr) return false;
        gAllMovieStore.movStreamArray = grown;
        *capacity = newCapacity;
    }
    gAllMovieStore.movStreamArray[gAllMovieStore.StoredNumber++] = aMovieStream;
    return true;
}

// Opens every movie of the folder into gAllMovieStore, in the iterator's order.
static void LoadMoviesOfFolder(VisualPluginData* visualPluginData, FSRef* aMoviesFolder) {
    FSIterator iterator = nullptr;
    OSErr theErr = FSOpenIterator(aMoviesFolder, kFSIterateFlat, &iterator);
    if (theErr != noErr) return;

    auto* specArray = static_cast<FSSpec*>(std::malloc(kRequestCountPerIteration * sizeof(FSSpec)));
    auto* refArray = static_cast<FSRef*>(std::malloc(kRequestCountPerIteration * sizeof(FSRef)));
    UInt32 capacity = kRequestCountPerIteration;
    AllocMovieStreamArrayOfMStore(&gAllMovieStore, int(capacity));
    gAllMovieStore.StoredNumber = 0;

    if (specArray != nullptr && refArray != nullptr && gAllMovieStore.movStreamArray != nullptr) {
        do {
            UInt32 actualCount = 0;
            theErr = FSGetCatalogInfoBulk(iterator, kRequestCountPerIteration, &actualCount,
                                          nullptr, kCatalogInfoBitmap, nullptr, refArray,
                                          specArray, nullptr);
            if (theErr != noErr && theErr != errFSNoMoreItems) break;
            for (UInt32 index = 0; index < actualCount; ++index) {
                MovieStream* aMovieStream = AllocMovieStream();
                if (aMovieStream == nullptr) {
                    ConsoleLog("failed allocate Movie Stream \n");
                    break;
                }
                OSErr openErr = OpenMovieStream(aMovieStream, &specArray[index],
                                                visualPluginData->destPort,
                                                &visualPluginData->destRect);
                if (openErr != noErr || !AppendToAllMovieStore(aMovieStream, &capacity))
                    FreeMovieStream(aMovieStream); // folders, documents, sound-only files...
            }
        } while (theErr == noErr);
    }

    std::free(specArray);
    std::free(refArray);
    FSCloseIterator(iterator);
}

// Gives every borrowing store room for all n movies. False, with nothing
// allocated, when memory is short.
static Boolean AllocBorrowingStores(UInt32 n) {
    for (MovieStore* store : kBorrowingStores) {
        AllocMovieStreamArrayOfMStore(store, int(n));
        store->StoredNumber = 0;
        if (store->movStreamArray == nullptr) {
            for (MovieStore* allocated : kBorrowingStores) FreeMovieStreamArrayOfMStore(allocated);
            return false;
        }
    }
    return true;
}

void InitZoetropica(VisualPluginData* visualPluginData, FSRef* aMoviesFolder,
                    BuildPlayMovieListParam* aBuildPlayMovieListParam) {
    // A second show without a hide: the library is torn down first, so set-up
    // never runs while a control thread lives.
    if (gIsLibrarySetUp) CleanUpZoetropica(visualPluginData, aMoviesFolder);

    if (aMoviesFolder == nullptr) {
        ConsoleLog("a movie path == null\n");
    } else {
        UInt32 dummy = 0;
        PlayerGetPluginNamedData(visualPluginData->appCookie, visualPluginData->appProc,
                                 kMoviesFolderKey, aMoviesFolder, kMoviesFolderSize, &dummy);
        LoadMoviesOfFolder(visualPluginData, aMoviesFolder);
    }

    UInt32 n = gAllMovieStore.StoredNumber;
    if (aMoviesFolder != nullptr && n == 0 && gAllMovieStore.movStreamArray != nullptr)
        ConsoleLog("movie number = 0\n");
    if (n == 0) {
        FreeMovieStreamArrayOfMStore(&gAllMovieStore);
    } else {
        auto* exact = static_cast<MovieStream**>(
            std::realloc(gAllMovieStore.movStreamArray, n * sizeof(MovieStream*)));
        if (exact != nullptr) gAllMovieStore.movStreamArray = exact;
        // A store array that cannot be allocated would be written through later:
        // load no movies instead.
        if (!AllocBorrowingStores(n)) DisposeMovieStore(&gAllMovieStore);
    }

    CopyMovieStore(&gAllMovieStore, &gRingBufMovieStore[0]);
    CopyMovieStore(&gAllMovieStore, &gRingBufMovieStore[1]);
    gRingBuffCount = 0;
    gCurMovieStore = &gRingBufMovieStore[0];

    if (aBuildPlayMovieListParam != nullptr)
        CopyBuildPlayMovListParam(aBuildPlayMovieListParam, &gBuildPlayMovListParamToCntrl);

    std::srand(unsigned(std::time(nullptr)));
    ChangeCurrentMovie();
    if (gCurMovieStore->StoredNumber != 0) StartMovie(*gCurMovie);

    SendInitToCntrlPlayMovieList(&visualPluginData->trackInfo);
    gIsLibrarySetUp = true;
}

void CleanUpZoetropica(VisualPluginData* visualPluginData, FSRef* aMoviesFolder) {
    PlayerSetPluginNamedData(visualPluginData->appCookie, visualPluginData->appProc,
                             kMoviesFolderKey, aMoviesFolder, kMoviesFolderSize);

    pthread_mutex_lock(&gCurMovieStoreLock);
    UInt32 num = gCurMovieStore->StoredNumber;
    pthread_mutex_unlock(&gCurMovieStoreLock);

    SendCleanUpToCntrlPlayMovieList();
    gIsLibrarySetUp = false;
    if (num == 0) return; // no movie loaded, no store array exists

    DisposeMovieStore(&gAllMovieStore);
    for (MovieStore* store : kBorrowingStores) FreeMovieStreamArrayOfMStore(store);
    gCurMovieStore->StoredNumber = 0;
}
