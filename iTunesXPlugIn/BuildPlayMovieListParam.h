// The play-list criteria: the song's four strings, which of them take part, the
// search method and the play mode. Copied by value between the settings window,
// the shared criteria and each build's own copy.
#pragma once

#include "MacTypes.h"

enum : UInt32 {
    kSearchMethodBrowse = 1,
    kSearchMethodOr = 2,
    kSearchMethodAnd = 3,
    kSearchMethodNone = 4, // any value other than 1, 2, 3 means none
};

enum : UInt32 {
    kPlayModeRandom = 1, // any other value plays in order
    kPlayModeInOrder = 2,
};

struct BuildPlayMovieListParam {
    Str255 genreOfNowTrack;
    Str255 artistOfNowTrack;
    Str255 albumOfNowTrack;
    Str255 titleOfNowTrack;
    Boolean isEnableGenre; // only 1 counts as on
    Boolean isEnableArtist;
    Boolean isEnableAlbum;
    Boolean isEnableTitle;
    UInt32 searchMethod;
    UInt32 playMode;
};

// Copies the length byte and exactly that many bytes; destStr's later bytes keep their values.
void CopyString(StringPtr srcStr, StringPtr destStr);
void SetMusicInfoOfBuildPlayMovListParam(BuildPlayMovieListParam* aParam, StringPtr genre,
                                         StringPtr artist, StringPtr album, StringPtr title);
void CopyMusicInfoOfBuildPlayMovListParam(BuildPlayMovieListParam* srcParam,
                                          BuildPlayMovieListParam* destParam);
void SetBuildFlagOfBuildPlayMovListParam(BuildPlayMovieListParam* aParam, Boolean aGenreFlag,
                                         Boolean aArtistFlag, Boolean aAlbumFlag,
                                         Boolean aTitleFlag, unsigned int aSearchMethod,
                                         unsigned int aPlayMode);
void GetBuildFlagOfBuildPlayMovListParam(BuildPlayMovieListParam* aParam, Boolean* aGenreFlag,
                                         Boolean* aArtistFlag, Boolean* aAlbumFlag,
                                         Boolean* aTitleFlag, unsigned int* aSearchMethod,
                                         unsigned int* aPlayMode);
void CopyBuildFlagOfBuildPlayMovListParam(BuildPlayMovieListParam* srcParam,
                                          BuildPlayMovieListParam* destParam);
void CopyBuildPlayMovListParam(BuildPlayMovieListParam* srcParam,
                               BuildPlayMovieListParam* destParam);
