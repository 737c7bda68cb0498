// What a Movie, Track, Media and MediaHandler are: an opened movie keeps its
// path, duration and track table (a few hundred bytes), its text samples once
// a search has loaded them, and its playback state. No decoder and no open file
// while idle.
//
// Threads: the host's thread opens, re-targets, plays and disposes movies. The
// build thread searches text (TextMediaFindNextText, and the track lookups
// before it), which reads only what never changes after opening, plus the text
// samples, loaded once under MovieText's lock. The playing movie's decoder
// thread shares only its FrameQueue with the host's thread.
#pragma once

#include "Movies.h"
#include "MovieClock.h"
#include "PictureDecoder.h"
#include "TrackText.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zt::movies {

constexpr UInt32 kMovieMagic = 0x5A744D76; // "ZtMv"
constexpr UInt32 kTrackMagic = 0x5A74546B; // "ZtTk"

// The text of every text track of a movie, loaded at the first search.
class MovieText {
  public:
    // The track's samples (slot: the track's place among the text tracks);
    // loads them all on the first call. Empty when the file could not be read.
    const TrackText& Track(size_t slot, const std::string& path, const std::vector<int>& streams);
    bool Loaded() const { return loaded_.load(std::memory_order_acquire); }

  private:
    std::mutex mutex_;
    std::atomic<bool> loaded_{false};
    std::vector<TrackText> tracks_;
    TrackText none_;
};

// Playback state: touched by the host's thread only.
struct Playback {
    CGrafPtr port = nullptr;
    Rect box{};
    MovieClock clock;
    std::unique_ptr<PictureDecoder> decoder;
    // The end of the pictures, once a decoder has reached it.
    std::optional<int64_t> knownEndUs;
    // When the frame last copied into the port was due; none since the last start or rewind.
    std::optional<int64_t> shownFrameUs;
};

} // namespace zt::movies

struct ComponentInstanceRecord {
    TrackRecord* track = nullptr;
};

struct MediaRecord {
    TrackRecord* track = nullptr;
    ComponentInstanceRecord handler;
};

struct TrackRecord {
    UInt32 magic = zt::movies::kTrackMagic;
    MovieRecord* movie = nullptr;
    OSType mediaType = 0;
    int streamIndex = -1;  // the FFmpeg stream (for an 'MPEG' track: its picture stream)
    int textSlot = -1;     // for a text track: its place among the movie's text tracks
    std::atomic<bool> enabled{true};
    std::atomic<SInt16> volume{0};
    MediaRecord media;
};

struct MovieRecord {
    UInt32 magic = zt::movies::kMovieMagic;
    std::string path;
    int64_t durationUs = 0;
    SInt32 trackCount = 0;
    std::unique_ptr<TrackRecord[]> tracks;
    std::vector<int> textStreams; // stream index of each text track, in track order
    zt::movies::MovieText text;
    zt::movies::Playback playback;
};

namespace zt::movies {

// The live movie, track or media behind a handle; nullptr for NULL or a handle
// that is not one (a wrong kind, or already disposed).
MovieRecord* LiveMovie(Movie movie);
TrackRecord* LiveTrack(Track track);

} // namespace zt::movies
