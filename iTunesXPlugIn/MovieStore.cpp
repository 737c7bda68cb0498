// Movie streams and movie stores.
#include "MovieStore.h"

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
