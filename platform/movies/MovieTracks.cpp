// Tracks, media and the text media handler's search.
#include "MovieRecords.h"
#include "TextCleaning.h"
#include "TextSearch.h"

#include <cstring>
#include <new>
#include <pthread.h>

using zt::movies::LiveMovie;
using zt::movies::LiveTrack;

namespace {

TrackRecord* TrackOfMedia(Media media) { return media != nullptr ? LiveTrack(media->track) : nullptr; }

// The search is not a cancellation point: a build thread cancelled while the
// text is loading stops at its own next cancellation point instead, leaving no
// lock held and no file open.
class CancellationOff {
  public:
    CancellationOff() { pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &previous_); }
    ~CancellationOff() { pthread_setcancelstate(previous_, nullptr); }
    CancellationOff(const CancellationOff&) = delete;
    CancellationOff& operator=(const CancellationOff&) = delete;

  private:
    int previous_ = PTHREAD_CANCEL_ENABLE;
};

} // namespace

SInt32 GetMovieTrackCount(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    return movie != nullptr ? movie->trackCount : 0;
}

Track GetMovieIndTrack(Movie theMovie, SInt32 index) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr || index < 1 || index > movie->trackCount) return nullptr;
    return &movie->tracks[index - 1];
}

Media GetTrackMedia(Track theTrack) {
    TrackRecord* track = LiveTrack(theTrack);
    return track != nullptr ? &track->media : nullptr;
}

void GetMediaHandlerDescription(Media theMedia, OSType* mediaType, Str255 creatorName, OSType* creatorManufacturer) {
    TrackRecord* track = TrackOfMedia(theMedia);
    if (mediaType != nullptr) *mediaType = track != nullptr ? track->mediaType : 0;
    if (creatorName != nullptr) {
        static constexpr char kName[] = "Zoetropica FFmpeg media handler";
        creatorName[0] = sizeof kName - 1;
        std::memcpy(creatorName + 1, kName, sizeof kName - 1);
    }
    if (creatorManufacturer != nullptr) *creatorManufacturer = FourCC("ZtFF");
}

void SetTrackEnabled(Track theTrack, Boolean isEnabled) {
    if (TrackRecord* track = LiveTrack(theTrack)) track->enabled = isEnabled != 0;
}

Boolean GetTrackEnabled(Track theTrack) {
    TrackRecord* track = LiveTrack(theTrack);
    return track != nullptr && track->enabled;
}

void SetTrackVolume(Track theTrack, SInt16 volume) {
    if (TrackRecord* track = LiveTrack(theTrack)) track->volume = volume;
}

SInt16 GetTrackVolume(Track theTrack) {
    TrackRecord* track = LiveTrack(theTrack);
    return track != nullptr ? SInt16(track->volume) : 0;
}

MediaHandler GetMediaHandler(Media theMedia) {
    TrackRecord* track = TrackOfMedia(theMedia);
    return track != nullptr ? &track->media.handler : nullptr;
}

ComponentResult TextMediaFindNextText(MediaHandler mh, Ptr text, SInt32 size, SInt16 findFlags,
                                      TimeValue startTime, TimeValue* foundTime, TimeValue* foundDuration,
                                      SInt32* offset) {
    using namespace zt::movies;
    CancellationOff cancellationOff;
    if (foundTime != nullptr) *foundTime = -1;
    if (foundDuration != nullptr) *foundDuration = 0;
    if (offset != nullptr) *offset = 0;
    TrackRecord* track = mh != nullptr ? LiveTrack(mh->track) : nullptr;
    if (track == nullptr || track->mediaType != TextMediaType || size < 0 || (text == nullptr && size > 0))
        return paramErr;
    if (size == 0) return noErr; // an empty keyword is never found
    try {
        MovieRecord* movie = track->movie;
        const TrackText& samples = movie->text.Track(size_t(track->textSlot), movie->path, movie->textStreams);
        bool caseSensitive = (findFlags & findTextCaseSensitive) != 0;
        std::string keyword = ToValidUtf8(std::string_view(text, size_t(size)));
        if (!caseSensitive) keyword = FoldForSearch(keyword);
        std::optional<TextMatch> match = FindText(samples, keyword, caseSensitive, findFlags, startTime);
        if (!match) return noErr;
        const TextSample& sample = samples.samples[match->sample];
        if (foundTime != nullptr) *foundTime = sample.start;
        if (foundDuration != nullptr) *foundDuration = sample.duration;
        if (offset != nullptr) *offset = SInt32(match->offset);
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}
