// The play-list criteria record and its copies. No locks: callers that share a
// record hold the control lock (see PlayListControl.cpp).
#include "BuildPlayMovieListParam.h"

#include <cstring>

void CopyString(StringPtr srcStr, StringPtr destStr) {
    // memmove: copying a string onto itself (or an overlapping one) stays exact.
    std::memmove(destStr, srcStr, size_t(srcStr[0]) + 1);
}

void SetMusicInfoOfBuildPlayMovListParam(BuildPlayMovieListParam* aParam, StringPtr genre,
                                         StringPtr artist, StringPtr album, StringPtr title) {
    CopyString(genre, aParam->genreOfNowTrack);
    CopyString(artist, aParam->artistOfNowTrack);
    CopyString(album, aParam->albumOfNowTrack);
    CopyString(title, aParam->titleOfNowTrack);
}

void CopyMusicInfoOfBuildPlayMovListParam(BuildPlayMovieListParam* srcParam,
                                          BuildPlayMovieListParam* destParam) {
    SetMusicInfoOfBuildPlayMovListParam(destParam, srcParam->genreOfNowTrack,
                                        srcParam->artistOfNowTrack, srcParam->albumOfNowTrack,
                                        srcParam->titleOfNowTrack);
}

void SetBuildFlagOfBuildPlayMovListParam(BuildPlayMovieListParam* aParam, Boolean aGenreFlag,
                                         Boolean aArtistFlag, Boolean aAlbumFlag,
                                         Boolean aTitleFlag, unsigned int aSearchMethod,
                                         unsigned int aPlayMode) {
    aParam->isEnableGenre = aGenreFlag;
    aParam->isEnableArtist = aArtistFlag;
    aParam->isEnableAlbum = aAlbumFlag;
    aParam->isEnableTitle = aTitleFlag;
    aParam->searchMethod = aSearchMethod;
    aParam->playMode = aPlayMode;
}

void GetBuildFlagOfBuildPlayMovListParam(BuildPlayMovieListParam* aParam, Boolean* aGenreFlag,
                                         Boolean* aArtistFlag, Boolean* aAlbumFlag,
                                         Boolean* aTitleFlag, unsigned int* aSearchMethod,
                                         unsigned int* aPlayMode) {
    *aGenreFlag = aParam->isEnableGenre;
    *aArtistFlag = aParam->isEnableArtist;
    *aAlbumFlag = aParam->isEnableAlbum;
    *aTitleFlag = aParam->isEnableTitle;
    *aSearchMethod = aParam->searchMethod;
    *aPlayMode = aParam->playMode;
}

void CopyBuildFlagOfBuildPlayMovListParam(BuildPlayMovieListParam* srcParam,
                                          BuildPlayMovieListParam* destParam) {
    SetBuildFlagOfBuildPlayMovListParam(destParam, srcParam->isEnableGenre,
                                        srcParam->isEnableArtist, srcParam->isEnableAlbum,
                                        srcParam->isEnableTitle, srcParam->searchMethod,
                                        srcParam->playMode);
}

void CopyBuildPlayMovListParam(BuildPlayMovieListParam* srcParam,
                               BuildPlayMovieListParam* destParam) {
    CopyMusicInfoOfBuildPlayMovListParam(srcParam, destParam);
    CopyBuildFlagOfBuildPlayMovListParam(srcParam, destParam);
}
