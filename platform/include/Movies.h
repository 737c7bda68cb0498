// The movie toolbox: opening movie files, their tracks and media types, text
// search in text tracks, and playback into a port.
//
// Opening reads the header only and keeps no decoder; playback runs a decoder
// thread per started movie and MoviesTask copies the frame due into the port.
// A text search is a pure read of the movie's (cached) text samples, safe on
// another thread while the host's thread plays the movie.
#pragma once

#include "Files.h"
#include "QuickDraw.h"

typedef struct MovieRecord* Movie;
typedef struct TrackRecord* Track;
typedef struct MediaRecord* Media;
typedef struct ComponentInstanceRecord* MediaHandler;
typedef SInt32 TimeValue;
typedef SInt32 ComponentResult;

enum : OSType {
    VideoMediaType = FourCC("vide"),
    MPEGMediaType = FourCC("MPEG"),
    TextMediaType = FourCC("text"),
    SoundMediaType = FourCC("soun"),
};

enum : SInt8 { fsCurPerm = 0, fsRdPerm = 1 };
enum : SInt16 { newMovieActive = 1 };
enum : SInt16 {
    findTextEdgeOK = 1,
    findTextCaseSensitive = 2,
    findTextReverseSearch = 4,
    findTextWrapAround = 8,
};

extern "C" {
OSErr OpenMovieFile(const FSSpec* fileSpec, SInt16* resRefNum, SInt8 permission);
OSErr NewMovieFromFile(Movie* theMovie, SInt16 resRefNum, SInt16* resId, StringPtr resName,
                       SInt16 newMovieFlags, Boolean* dataRefWasChanged);
OSErr CloseMovieFile(SInt16 resRefNum);
void DisposeMovie(Movie theMovie);

SInt32 GetMovieTrackCount(Movie theMovie);
Track GetMovieIndTrack(Movie theMovie, SInt32 index); // index from 1; NULL when out of range
Media GetTrackMedia(Track theTrack);
void GetMediaHandlerDescription(Media theMedia, OSType* mediaType, Str255 creatorName,
                                OSType* creatorManufacturer);
void SetTrackEnabled(Track theTrack, Boolean isEnabled);
void SetTrackVolume(Track theTrack, SInt16 volume);
MediaHandler GetMediaHandler(Media theMedia);

// Finds text in a text track. foundTime is -1 when no sample holds the text.
ComponentResult TextMediaFindNextText(MediaHandler mh, Ptr text, SInt32 size, SInt16 findFlags,
                                      TimeValue startTime, TimeValue* foundTime,
                                      TimeValue* foundDuration, SInt32* offset);

void SetMovieGWorld(Movie theMovie, CGrafPtr port, GDHandle gdh);
void SetMovieBox(Movie theMovie, const Rect* boxRect);
void StartMovie(Movie theMovie);
void StopMovie(Movie theMovie);
void GoToBeginningOfMovie(Movie theMovie);
void MoviesTask(Movie theMovie, SInt32 maxMilliSecToUse);
Boolean IsMovieDone(Movie theMovie);
}
