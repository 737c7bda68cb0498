// Movie streams (one opened movie and its text tracks) and movie stores (lists
// of streams). gAllMovieStore owns every stream; every other store borrows
// pointers into it, so building and swapping play lists never opens, copies or
// closes a movie.
#pragma once

#include "Movies.h"

enum { kMaxTextTrackIndex = 100 };

struct MovieStream {
    Movie gMovie;                              // NULL when the stream holds no movie
    SInt32 gTextTrackIndex[kMaxTextTrackIndex]; // 1-based indices of the text tracks
    SInt16 gTextTrackNumber;                   // valid entries of gTextTrackIndex
};

struct MovieStore {
    MovieStream** movStreamArray; // capacity is not recorded: fillers stay within it
    UInt32 StoredNumber;
};

// The stores. gAllMovieStore is written by set-up and tear-down on the host's
// thread while no build runs; the hit lists belong to the build thread; a ring
// slot is written only by the build thread while it is not gCurMovieStore;
// gCurMovieStore changes under gCurMovieStoreLock (PlayListControl.h);
// gRingBuffCount moves only in the control thread while no build runs.
extern MovieStore gAllMovieStore;
extern MovieStore gHitGenreMStore;
extern MovieStore gHitGenreArtistMStore;
extern MovieStore gHitGenreArtistAlbumMStore;
extern MovieStore gHitGenreArtistAlbumNameMStore;
extern MovieStore gOrMovieStore;
extern MovieStore gAndMovieStore;
extern MovieStore gRingBufMovieStore[2];
extern SInt16 gRingBuffCount;
extern MovieStore* gCurMovieStore;

MovieStream* AllocMovieStream(void);
void InitMovieStream(MovieStream* aMovieStream);
OSErr OpenMovieStream(MovieStream* aMovieStream, FSSpec* aMovieSpec, CGrafPtr aPort,
                      const Rect* aRect);
void CloseMovieStream(MovieStream* aMovieStream);
void FreeMovieStream(MovieStream* aMovieStream);
void AllocMovieStreamArrayOfMStore(MovieStore* aMovieStore, int movNum);
void FreeMovieStreamArrayOfMStore(MovieStore* aMovieStore);
void CopyMovieStore(MovieStore* srcMovStore, MovieStore* destMovStore);
void DisposeMovieStore(MovieStore* aMovieStore);
Movie* GetMovieFromMovieStore(MovieStore* aMovieStore, int i);
void IncreRingBuffOfMovieStore(void);
void DecreRingBuffOfMovieStore(void);
