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
    // The other kinds of track a movie file may hold; none of them is a picture.
    CoverArtMediaType = FourCC("covr"),   // an attached cover picture
    SubpictureMediaType = FourCC("subp"), // subtitles drawn as bitmaps
    DataMediaType = FourCC("data"),       // data, time codes, attachments, the unknown
};

// Movie times and durations are in milliseconds: every movie and media has this time scale.
enum : TimeValue { kMovieTimeScale = 1000 };

// Open errors besides those of MacTypes.h.
enum : OSErr {
    ioErr = -36,        // the file could not be read
    tmfoErr = -42,      // too many files open
    permErr = -54,      // no permission to read the file
    notAFileErr = -1302 // a folder or other non-file was given
};

enum : SInt8 { fsCurPerm = 0, fsRdPerm = 1 };
enum : SInt16 { newMovieActive = 1 };
enum : SInt16 {
    findTextEdgeOK = 1,
    findTextCaseSensitive = 2,
    findTextReverseSearch = 4,
    findTextWrapAround = 8,
};

// Threads: every call belongs to the host's thread, except that GetMovieIndTrack,
// GetTrackMedia, GetMediaHandler, GetMediaHandlerDescription and
// TextMediaFindNextText may run on another thread at the same time (the
// play-list build), on a movie the host's thread keeps but does not dispose.
extern "C" {
// Opens the file an FSSpec names, read only (any permission is taken as read
// only). Errors: fnfErr (no such file, or an unknown folder), permErr,
// notAFileErr, tmfoErr, ioErr, paramErr. *resRefNum is 0 on failure.
OSErr OpenMovieFile(const FSSpec* fileSpec, SInt16* resRefNum, SInt8 permission);
// Reads the movie's header through the open file (no decoder is kept). *theMovie
// is NULL on failure: invalidMovie for a file that is no movie (empty, garbage,
// no streams), fnOpnErr for a reference number that is not open. The movie is
// stopped at time 0, every track enabled; it stays usable after CloseMovieFile.
OSErr NewMovieFromFile(Movie* theMovie, SInt16 resRefNum, SInt16* resId, StringPtr resName,
                       SInt16 newMovieFlags, Boolean* dataRefWasChanged);
OSErr CloseMovieFile(SInt16 resRefNum);
// Stops the movie (joining its decoder) and frees it; NULL does nothing.
void DisposeMovie(Movie theMovie);

SInt32 GetMovieTrackCount(Movie theMovie);
Track GetMovieIndTrack(Movie theMovie, SInt32 index); // index from 1; NULL when out of range
Media GetTrackMedia(Track theTrack);
void GetMediaHandlerDescription(Media theMedia, OSType* mediaType, Str255 creatorName,
                                OSType* creatorManufacturer);
void SetTrackEnabled(Track theTrack, Boolean isEnabled);
void SetTrackVolume(Track theTrack, SInt16 volume);
MediaHandler GetMediaHandler(Media theMedia);

// Finds text in a text track: the first sample (by time, from startTime) whose
// text holds the size bytes at text. Letter case is ignored (Unicode folding)
// unless findTextCaseSensitive; findTextEdgeOK lets the sample at startTime
// count; findTextReverseSearch looks back in time, findTextWrapAround goes on
// from the other end. A keyword is never found across two samples, nor in
// markup. foundTime is -1 when no sample holds the text (an empty keyword never
// does), also when the call fails (paramErr for a handler that is not a text
// track's); else foundTime and foundDuration are the sample's, and offset the
// byte offset of the match in the sample's plain text (in its folded text when
// case is ignored). The first search of a movie loads its text samples (from
// the on-disk cache when it is current). Safe while the host's thread plays the
// movie; not a cancellation point.
ComponentResult TextMediaFindNextText(MediaHandler mh, Ptr text, SInt32 size, SInt16 findFlags,
                                      TimeValue startTime, TimeValue* foundTime,
                                      TimeValue* foundDuration, SInt32* offset);

// Where the movie draws: a 32-bit port (NULL: nowhere) and the box, in the
// port's coordinates, that its pictures are scaled into (clipped to the port).
void SetMovieGWorld(Movie theMovie, CGrafPtr port, GDHandle gdh);
void SetMovieBox(Movie theMovie, const Rect* boxRect);
// Starts the clock at rate 1 and a decoder thread for the first enabled picture
// track ('vide' or 'MPEG'). Movies make no sound.
void StartMovie(Movie theMovie);
// Stops the clock and releases the decoder thread.
void StopMovie(Movie theMovie);
// Movie time 0; a playing movie goes on playing from there.
void GoToBeginningOfMovie(Movie theMovie);
// Copies the frame due at the movie's time into the port when it is new, and
// returns at once (the time budget is not needed).
void MoviesTask(Movie theMovie, SInt32 maxMilliSecToUse);
// True once the clock has passed the end of the pictures (the duration; for a
// truncated file, where its data ends) and the last frame was shown.
Boolean IsMovieDone(Movie theMovie);

// Queries for hosts and tests.
TimeValue GetMovieDuration(Movie theMovie);     // milliseconds; 0 for NULL
TimeValue GetMovieTime(Movie theMovie, void* currentTime); // milliseconds; pass NULL
TimeValue GetMovieTimeScale(Movie theMovie);    // kMovieTimeScale
void GetMovieBox(Movie theMovie, Rect* boxRect);
CGrafPtr GetMovieGWorldPort(Movie theMovie);    // the port set by SetMovieGWorld
Boolean GetTrackEnabled(Track theTrack);
SInt16 GetTrackVolume(Track theTrack);          // 256 is full volume
Boolean IsMoviePlaying(Movie theMovie);          // started and not stopped
Boolean IsMovieDecoding(Movie theMovie);         // holds a decoder thread
// The movie time (milliseconds) at which the frame MoviesTask last copied into
// the port was due; -1 when none was copied since the movie was last started
// or rewound. With GetMovieTime it tells how late frames reach the screen.
TimeValue GetMovieShownFrameTime(Movie theMovie);
}
