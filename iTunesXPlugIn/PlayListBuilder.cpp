// The text-track search and the four play-list builders. They run only on the
// build thread, one build at a time, and take no lock: gAllMovieStore does not
// change while a build exists, the hit lists belong to the build thread, and the
// ring slot they fill is never the play list in use. A build may be cancelled
// only at the cancellation points below, none of which lies inside the final
// copy into the ring slot.
#include "PlayList.h"

// A deferred-cancellation point of the build thread.
static void BuildCancellationPoint() { pthread_testcancel(); }

static void AppendToMovieStore(MovieStore* aMovieStore, MovieStream* aMovieStream) {
    aMovieStore->movStreamArray[aMovieStore->StoredNumber] = aMovieStream;
    aMovieStore->StoredNumber++;
}

static MovieStore* RingSlotBeingBuilt() { return &gRingBufMovieStore[gRingBuffCount]; }

Boolean SearchTextTrackInMovieStream(MovieStream* aMovieStream, StringPtr keyword) {
    if (keyword == nullptr || keyword[0] == 0 || aMovieStream == nullptr) return false;
    BuildCancellationPoint();

    Boolean isFound = false;
    for (SInt16 aIndex = 0; aIndex < aMovieStream->gTextTrackNumber; ++aIndex) {
        Track aTextTrack =
            GetMovieIndTrack(aMovieStream->gMovie, aMovieStream->gTextTrackIndex[aIndex]);
        MediaHandler aTextMediaHandler = GetMediaHandler(GetTrackMedia(aTextTrack));
        // A search that fails without answering counts as not found.
        TimeValue aFoundTime = -1;
        TimeValue aFoundDuration = 0;
        SInt32 aPos = 0;
        TextMediaFindNextText(aTextMediaHandler, reinterpret_cast<Ptr>(keyword + 1), keyword[0],
                              findTextEdgeOK, 0, &aFoundTime, &aFoundDuration, &aPos);
        if (aFoundTime != -1) isFound = true;
        BuildCancellationPoint();
    }
    return isFound;
}

// The four answers for one movie, always all four, in this order.
struct SongHits {
    Boolean genre, artist, album, title;
};

static SongHits SearchSong(MovieStream* aMovieStream, BuildPlayMovieListParam* aParam) {
    SongHits hits;
    hits.genre = SearchTextTrackInMovieStream(aMovieStream, aParam->genreOfNowTrack);
    hits.artist = SearchTextTrackInMovieStream(aMovieStream, aParam->artistOfNowTrack);
    hits.album = SearchTextTrackInMovieStream(aMovieStream, aParam->albumOfNowTrack);
    hits.title = SearchTextTrackInMovieStream(aMovieStream, aParam->titleOfNowTrack);
    return hits;
}

void BuildPlayMovieListByBrowse(BuildPlayMovieListParam* aParam) {
    gHitGenreMStore.StoredNumber = 0;
    gHitGenreArtistMStore.StoredNumber = 0;
    gHitGenreArtistAlbumMStore.StoredNumber = 0;
    gHitGenreArtistAlbumNameMStore.StoredNumber = 0;

    for (UInt32 i = 0; i < gAllMovieStore.StoredNumber; ++i) {
        MovieStream* aMovieStream = gAllMovieStore.movStreamArray[i];
        SongHits hits = SearchSong(aMovieStream, aParam);
        if (hits.genre) AppendToMovieStore(&gHitGenreMStore, aMovieStream);
        if (hits.genre && hits.artist) AppendToMovieStore(&gHitGenreArtistMStore, aMovieStream);
        if (hits.genre && hits.artist && hits.album)
            AppendToMovieStore(&gHitGenreArtistAlbumMStore, aMovieStream);
        if (hits.genre && hits.artist && hits.album && hits.title)
            AppendToMovieStore(&gHitGenreArtistAlbumNameMStore, aMovieStream);
        BuildCancellationPoint();
    }

    // The deepest level that has any movie; all movies when none matches the genre.
    MovieStore* chosen = &gAllMovieStore;
    if (gHitGenreMStore.StoredNumber != 0) {
        chosen = &gHitGenreMStore;
        if (gHitGenreArtistMStore.StoredNumber != 0) {
            chosen = &gHitGenreArtistMStore;
            if (gHitGenreArtistAlbumMStore.StoredNumber != 0) {
                chosen = &gHitGenreArtistAlbumMStore;
                if (gHitGenreArtistAlbumNameMStore.StoredNumber != 0)
                    chosen = &gHitGenreArtistAlbumNameMStore;
            }
        }
    }
    CopyMovieStore(chosen, RingSlotBeingBuilt());
}

// Only a flag of exactly 1 counts as on.
static Boolean IsEnabled(Boolean flag) { return flag == 1; }

void BuildPlayMovieListByOrSearch(BuildPlayMovieListParam* aParam) {
    gOrMovieStore.StoredNumber = 0;
    for (UInt32 i = 0; i < gAllMovieStore.StoredNumber; ++i) {
        MovieStream* aMovieStream = gAllMovieStore.movStreamArray[i];
        SongHits hits = SearchSong(aMovieStream, aParam);
        // A criterion that is switched off counts as not found.
        if ((IsEnabled(aParam->isEnableGenre) && hits.genre) ||
            (IsEnabled(aParam->isEnableArtist) && hits.artist) ||
            (IsEnabled(aParam->isEnableAlbum) && hits.album) ||
            (IsEnabled(aParam->isEnableTitle) && hits.title))
            AppendToMovieStore(&gOrMovieStore, aMovieStream);
        BuildCancellationPoint();
    }
    CopyMovieStore(gOrMovieStore.StoredNumber != 0 ? &gOrMovieStore : &gAllMovieStore,
                   RingSlotBeingBuilt());
}

void BuildPlayMovieListByAndSearch(BuildPlayMovieListParam* aParam) {
    gAndMovieStore.StoredNumber = 0;
    for (UInt32 i = 0; i < gAllMovieStore.StoredNumber; ++i) {
        MovieStream* aMovieStream = gAllMovieStore.movStreamArray[i];
        SongHits hits = SearchSong(aMovieStream, aParam);
        // A criterion that is switched off counts as found.
        if ((!IsEnabled(aParam->isEnableGenre) || hits.genre) &&
            (!IsEnabled(aParam->isEnableArtist) || hits.artist) &&
            (!IsEnabled(aParam->isEnableAlbum) || hits.album) &&
            (!IsEnabled(aParam->isEnableTitle) || hits.title))
            AppendToMovieStore(&gAndMovieStore, aMovieStream);
        BuildCancellationPoint();
    }
    CopyMovieStore(gAndMovieStore.StoredNumber != 0 ? &gAndMovieStore : &gAllMovieStore,
                   RingSlotBeingBuilt());
}

void BuildPlayMovieListByNoneSearch(void) { CopyMovieStore(&gAllMovieStore, RingSlotBeingBuilt()); }
