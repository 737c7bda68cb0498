// Playing a movie into its port: the clock, the decoder thread, and the copy of
// each new frame into the port at the movie box.
#include "MovieRecords.h"
#include "MovieTime.h"
#include "MoviesLog.h"
#include "TrackKinds.h"

#include <algorithm>
#include <cstring>
#include <system_error>

using zt::movies::LiveMovie;

namespace {

int BoxWidth(const Rect& r) { return std::max(0, int(r.right) - int(r.left)); }
int BoxHeight(const Rect& r) { return std::max(0, int(r.bottom) - int(r.top)); }

// The size the decoder scales to: the box, or nothing without a port.
void UpdateTarget(MovieRecord& movie) {
    zt::movies::Playback& playback = movie.playback;
    if (playback.decoder == nullptr) return;
    bool drawable = playback.port != nullptr;
    playback.decoder->Queue().SetTargetSize(drawable ? BoxWidth(playback.box) : 0,
                                            drawable ? BoxHeight(playback.box) : 0);
}

const TrackRecord* FirstEnabledPictureTrack(const MovieRecord& movie) {
    for (SInt32 i = 0; i < movie.trackCount; ++i) {
        const TrackRecord& track = movie.tracks[i];
        if (zt::movies::IsPictureType(track.mediaType) && track.enabled) return &track;
    }
    return nullptr;
}

void StartDecoder(MovieRecord& movie) {
    zt::movies::Playback& playback = movie.playback;
    playback.shownFrameUs.reset();
    const TrackRecord* track = FirstEnabledPictureTrack(movie);
    if (track == nullptr) return; // nothing to show: the clock alone runs to the end
    bool drawable = playback.port != nullptr;
    try {
        playback.decoder = std::make_unique<zt::movies::PictureDecoder>(
            zt::movies::PictureSource{movie.path, track->streamIndex, movie.durationUs}, playback.clock.NowUs(),
            drawable ? BoxWidth(playback.box) : 0, drawable ? BoxHeight(playback.box) : 0);
        // The first pictures take the decoder a while (opening, seeking, a
        // key frame and the frames a B-frame needs first); a clock running
        // meanwhile would show them late and then skip ahead. It waits until
        // the queue is full instead, so playback starts with frames in hand.
        playback.clock.Hold();
    } catch (const std::exception& e) { // no thread or no memory: the movie plays blank
        zt::movies::LogMoviesProblem("cannot start playing %s: %s", movie.path.c_str(), e.what());
    }
}

void ReleaseDecoder(MovieRecord& movie) {
    zt::movies::Playback& playback = movie.playback;
    if (playback.decoder == nullptr) return;
    zt::movies::QueueStatus status = playback.decoder->Queue().Status();
    if (status.finished && status.published > 0) playback.knownEndUs = status.dataEndUs;
    playback.decoder.reset();
}

// The movie's time. A clock held for the first pictures goes on once the
// decoder has filled its queue, or has finished (or is gone).
int64_t MovieNowUs(MovieRecord& movie) {
    zt::movies::Playback& playback = movie.playback;
    if (playback.clock.Held()) {
        if (playback.decoder == nullptr) {
            playback.clock.Release();
        } else {
            zt::movies::QueueStatus status = playback.decoder->Queue().Status();
            if (status.full || status.finished) playback.clock.Release();
        }
    }
    return playback.clock.NowUs();
}

// Copies a frame, scaled to the box, into the port's 32-bit pixels at the box,
// clipped to the port's bounds. The pad byte of each pixel is written as 0.
// False when nothing was copied.
bool Paint(const MovieRecord& movie, const zt::movies::FrameSlot& frame) {
    const zt::movies::Playback& playback = movie.playback;
    const Rect& box = playback.box;
    if (playback.port == nullptr || frame.width != BoxWidth(box) || frame.height != BoxHeight(box) ||
        frame.width == 0)
        return false; // the box changed since the frame was scaled, or nothing is drawn
    PixMapHandle pixMap = GetPortPixMap(playback.port);
    if (pixMap == nullptr || *pixMap == nullptr || (*pixMap)->pixelSize != 32) return false;
    Ptr base = GetPixBaseAddr(pixMap);
    SInt32 rowBytes = GetPixRowBytes(pixMap);
    const Rect& bounds = (*pixMap)->bounds;
    if (base == nullptr) return false;
    int left = std::max<int>(box.left, bounds.left), right = std::min<int>(box.right, bounds.right);
    int top = std::max<int>(box.top, bounds.top), bottom = std::min<int>(box.bottom, bounds.bottom);
    if (left >= right || top >= bottom) return false;
    size_t width = size_t(right - left);
    const uint8_t* source = frame.pixels + ptrdiff_t(top - box.top) * frame.rowBytes + ptrdiff_t(left - box.left) * 4;
    char* target = base + ptrdiff_t(top - bounds.top) * rowBytes + ptrdiff_t(left - bounds.left) * 4;
    for (int y = top; y < bottom; ++y, source += frame.rowBytes, target += rowBytes) {
        const auto* in = reinterpret_cast<const UInt32*>(source);
        auto* out = reinterpret_cast<UInt32*>(target);
        for (size_t x = 0; x < width; ++x) out[x] = in[x] & 0x00FFFFFFu;
    }
    return true;
}

} // namespace

void SetMovieGWorld(Movie theMovie, CGrafPtr port, GDHandle /*gdh*/) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr) return;
    movie->playback.port = port;
    UpdateTarget(*movie);
}

CGrafPtr GetMovieGWorldPort(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    return movie != nullptr ? movie->playback.port : nullptr;
}

void SetMovieBox(Movie theMovie, const Rect* boxRect) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr || boxRect == nullptr) return;
    movie->playback.box = *boxRect;
    UpdateTarget(*movie);
}

void GetMovieBox(Movie theMovie, Rect* boxRect) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (boxRect != nullptr) *boxRect = movie != nullptr ? movie->playback.box : Rect{0, 0, 0, 0};
}

void StartMovie(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr || movie->playback.clock.Running()) return;
    movie->playback.clock.Start();
    StartDecoder(*movie);
}

void StopMovie(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr) return;
    movie->playback.clock.Stop();
    ReleaseDecoder(*movie);
}

void GoToBeginningOfMovie(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr) return;
    movie->playback.clock.Set(0);
    movie->playback.shownFrameUs.reset();
    if (movie->playback.decoder != nullptr) { // its frames are for later times
        ReleaseDecoder(*movie);
        StartDecoder(*movie);
    }
}

void MoviesTask(Movie theMovie, SInt32 /*maxMilliSecToUse*/) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr || movie->playback.decoder == nullptr) return;
    zt::movies::FrameQueue& queue = movie->playback.decoder->Queue();
    int due = queue.TakeDue(MovieNowUs(*movie));
    if (due >= 0 && Paint(*movie, queue.Slot(due))) movie->playback.shownFrameUs = queue.Slot(due).startUs;
}

Boolean IsMovieDone(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr) return true;
    int64_t now = MovieNowUs(*movie);
    const zt::movies::Playback& playback = movie->playback;
    if (playback.decoder == nullptr) return now >= playback.knownEndUs.value_or(movie->durationUs);
    zt::movies::QueueStatus status = playback.decoder->Queue().Status();
    if (!status.finished || status.ready > 0) return false;
    // A decoder that made no frame shows nothing: the clock runs to the duration.
    return now >= (status.published > 0 ? status.dataEndUs : movie->durationUs);
}

TimeValue GetMovieDuration(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    return movie != nullptr ? zt::movies::UsToTimeValue(movie->durationUs) : 0;
}

TimeValue GetMovieTime(Movie theMovie, void* /*currentTime*/) {
    MovieRecord* movie = LiveMovie(theMovie);
    return movie != nullptr ? zt::movies::UsToTimeValue(MovieNowUs(*movie)) : 0;
}

TimeValue GetMovieTimeScale(Movie theMovie) { return LiveMovie(theMovie) != nullptr ? kMovieTimeScale : 0; }

Boolean IsMoviePlaying(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    return movie != nullptr && movie->playback.clock.Running();
}

TimeValue GetMovieShownFrameTime(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    if (movie == nullptr || !movie->playback.shownFrameUs) return -1;
    return zt::movies::UsToTimeValue(*movie->playback.shownFrameUs);
}

Boolean IsMovieDecoding(Movie theMovie) {
    MovieRecord* movie = LiveMovie(theMovie);
    return movie != nullptr && movie->playback.decoder != nullptr;
}
