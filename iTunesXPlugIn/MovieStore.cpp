// Movie streams and movie stores.
#include "MovieStore.h"

#include <cstdlib>

// The stores: see MovieStore.h for who writes what, on which thread.
MovieStore gAllMovieStore;
MovieStore gHitGenreMStore;
MovieStore gHitGenreArtistMStore;
MovieStore gHitGenreArtistAlbumMStore;
MovieStore gHitGenreArtistAlbumNameMStore;
MovieStore gOrMovieStore;
MovieStore gAndMovieStore;
MovieStore gRingBufMovieStore[2];
SInt16 gRingBuffCount;
MovieStore* gCurMovieStore = &gRingBufMovieStore[0];

MovieStream* AllocMovieStream(void) {
    return static_cast<MovieStream*>(std::malloc(sizeof(MovieStream)));
}

void InitMovieStream(MovieStream* aMovieStream) {
    aMovieStream->gMovie = nullptr;
    aMovieStream->gTextTrackNumber = 0;
}

OSErr OpenMovieStream(MovieStream* aMovieStream, FSSpec* aMovieSpec, CGrafPtr aPort,
                      const Rect* aRect) {
    SInt16 refnum = 0;
    OSErr err = noErr;
    InitMovieStream(aMovieStream);

    err = OpenMovieFile(aMovieSpec, &refnum, fsRdPerm);
    if (err != noErr) return err;

    err = NewMovieFromFile(&aMovieStream->gMovie, refnum, nullptr, nullptr, newMovieActive,
                           nullptr);
    if (err != noErr) {
        aMovieStream->gMovie = nullptr;
    } else {
        Movie movie = aMovieStream->gMovie;
        SInt32 trackNum = GetMovieTrackCount(movie);
        Boolean hasVideo = false;
        aMovieStream->gTextTrackNumber = 0;

        for (SInt32 curTrack = 0; curTrack < trackNum; ++curTrack) {
            Track aTrack = GetMovieIndTrack(movie, curTrack + 1);
            OSType aMediaType = 0;
            GetMediaHandlerDescription(GetTrackMedia(aTrack), &aMediaType, nullptr, nullptr);
            switch (aMediaType) {
            case VideoMediaType:
                hasVideo = true;
                SetTrackEnabled(aTrack, true);
                break;
            case MPEGMediaType:
                // Pictures on, sound off: the music comes from the player.
                hasVideo = true;
                SetTrackEnabled(aTrack, true);
                SetTrackVolume(aTrack, 0);
                break;
            case TextMediaType:
                // Never shown, but listed for searching when among the first 100 tracks.
                SetTrackEnabled(aTrack, false);
                if (curTrack < kMaxTextTrackIndex) {
                    aMovieStream->gTextTrackIndex[aMovieStream->gTextTrackNumber] = curTrack + 1;
                    aMovieStream->gTextTrackNumber++;
                }
                break;
            default:
                SetTrackEnabled(aTrack, false);
                break;
            }
        }

        if (!hasVideo) {
            DisposeMovie(movie);
            InitMovieStream(aMovieStream);
            err = fnOpnErr;
        } else {
            SetMovieGWorld(movie, aPort, nullptr);
            SetMovieBox(movie, aRect);
        }
    }

    CloseMovieFile(refnum);
    return err;
}

void CloseMovieStream(MovieStream* aMovieStream) {
    if (aMovieStream->gMovie != nullptr) DisposeMovie(aMovieStream->gMovie);
    InitMovieStream(aMovieStream);
}

void FreeMovieStream(MovieStream* aMovieStream) {
    if (aMovieStream == nullptr) return;
    if (aMovieStream->gMovie != nullptr) DisposeMovie(aMovieStream->gMovie);
    std::free(aMovieStream);
}

void AllocMovieStreamArrayOfMStore(MovieStore* aMovieStore, int movNum) {
    size_t count = movNum > 0 ? size_t(movNum) : 1;
    aMovieStore->movStreamArray = static_cast<MovieStream**>(std::malloc(count * sizeof(MovieStream*)));
}

void FreeMovieStreamArrayOfMStore(MovieStore* aMovieStore) {
    std::free(aMovieStore->movStreamArray);
    aMovieStore->movStreamArray = nullptr;
    aMovieStore->StoredNumber = 0;
}

void CopyMovieStore(MovieStore* srcMovStore, MovieStore* destMovStore) {
    for (UInt32 i = 0; i < srcMovStore->StoredNumber; ++i)
        destMovStore->movStreamArray[i] = srcMovStore->movStreamArray[i];
    destMovStore->StoredNumber = srcMovStore->StoredNumber;
}

void DisposeMovieStore(MovieStore* aMovieStore) {
    for (UInt32 i = 0; i < aMovieStore->StoredNumber; ++i)
        FreeMovieStream(aMovieStore->movStreamArray[i]);
    FreeMovieStreamArrayOfMStore(aMovieStore);
}

Movie* GetMovieFromMovieStore(MovieStore* aMovieStore, int i) {
    return &aMovieStore->movStreamArray[i]->gMovie;
}

void IncreRingBuffOfMovieStore(void) {
    gRingBuffCount++;
    if (gRingBuffCount > 1) gRingBuffCount = 0;
}

void DecreRingBuffOfMovieStore(void) {
    gRingBuffCount--;
    if (gRingBuffCount < 0) gRingBuffCount = 1;
}
