// Making a movie from an open movie file, and disposing of it.
#include "MovieFiles.h"
#include "MovieInput.h"
#include "MovieRecords.h"
#include "MovieTime.h"
#include "TextLoading.h"
#include "TrackKinds.h"

#include <new>

namespace zt::movies {

namespace {

int FirstPictureStream(const AVFormatContext* format) {
    for (unsigned i = 0; i < format->nb_streams; ++i)
        if (MediaTypeOf(format->streams[i]) == VideoMediaType) return int(i);
    return -1;
}

int64_t DurationUs(const AVFormatContext* format) {
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0) return format->duration;
    int64_t longest = 0;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* s = format->streams[i];
        if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
            longest = std::max(longest, av_rescale_q(s->duration, s->time_base, AV_TIME_BASE_Q));
    }
    return longest;
}

struct TrackPlan {
    OSType type;
    int stream;
};

// Track order is stream order; an MPEG program stream with pictures is one 'MPEG'
// track that carries its pictures and sound.
std::vector<TrackPlan> PlanTracks(const MovieInput& input) {
    const AVFormatContext* format = input.Context();
    std::vector<TrackPlan> plan;
    if (input.IsProgramStream()) {
        int picture = FirstPictureStream(format);
        if (picture >= 0) return {TrackPlan{MPEGMediaType, picture}};
    }
    plan.reserve(format->nb_streams);
    for (unsigned i = 0; i < format->nb_streams; ++i) plan.push_back({MediaTypeOf(format->streams[i]), int(i)});
    return plan;
}

} // namespace

MovieRecord* LiveMovie(Movie movie) {
    return movie != nullptr && movie->magic == kMovieMagic ? movie : nullptr;
}

TrackRecord* LiveTrack(Track track) {
    return track != nullptr && track->magic == kTrackMagic && LiveMovie(track->movie) != nullptr ? track : nullptr;
}

const TrackText& MovieText::Track(size_t slot, const std::string& path, const std::vector<int>& streams) {
    if (!loaded_.load(std::memory_order_acquire)) {
        std::lock_guard lock(mutex_);
        if (!loaded_.load(std::memory_order_relaxed)) {
            try {
                if (auto tracks = LoadTextTracks(path, streams)) tracks_ = std::move(*tracks);
            } catch (const std::bad_alloc&) {
                tracks_.clear(); // memory is short: this movie's text stays unsearchable
            }
            loaded_.store(true, std::memory_order_release);
        }
    }
    return slot < tracks_.size() ? tracks_[slot] : none_;
}

} // namespace zt::movies

OSErr NewMovieFromFile(Movie* theMovie, SInt16 resRefNum, SInt16* /*resId*/, StringPtr resName,
                       SInt16 /*newMovieFlags*/, Boolean* dataRefWasChanged) {
    using namespace zt::movies;
    if (theMovie != nullptr) *theMovie = nullptr;
    if (resName != nullptr) resName[0] = 0;
    if (dataRefWasChanged != nullptr) *dataRefWasChanged = false;
    if (theMovie == nullptr) return paramErr;
    try {
        std::optional<OpenMovieFileInfo> file = FindOpenMovieFile(resRefNum);
        if (!file) return fnOpnErr;
        std::unique_ptr<MovieInput> input = MovieInput::OpenDescriptor(file->fd, file->path);
        if (input == nullptr || input->Context()->nb_streams == 0) return invalidMovie;

        auto movie = std::make_unique<MovieRecord>();
        movie->path = std::move(file->path);
        movie->durationUs = DurationUs(input->Context());
        std::vector<TrackPlan> plan = PlanTracks(*input);
        movie->trackCount = SInt32(plan.size());
        movie->tracks = std::make_unique<TrackRecord[]>(plan.size());
        for (size_t i = 0; i < plan.size(); ++i) {
            TrackRecord& track = movie->tracks[i];
            track.movie = movie.get();
            track.mediaType = plan[i].type;
            track.streamIndex = plan[i].stream;
            track.volume = plan[i].type == SoundMediaType || plan[i].type == MPEGMediaType ? 256 : 0;
            track.media.track = &track;
            track.media.handler.track = &track;
            if (plan[i].type == TextMediaType) {
                track.textSlot = int(movie->textStreams.size());
                movie->textStreams.push_back(plan[i].stream);
            }
        }
        *theMovie = movie.release();
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

void DisposeMovie(Movie theMovie) {
    MovieRecord* movie = zt::movies::LiveMovie(theMovie);
    if (movie == nullptr) return;
    movie->playback.decoder.reset(); // joins the decoder thread
    movie->magic = 0;
    for (SInt32 i = 0; i < movie->trackCount; ++i) movie->tracks[i].magic = 0;
    delete movie;
}
