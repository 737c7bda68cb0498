#include "TextLoading.h"

#include "LongPath.h"
#include "MovieInput.h"
#include "MovieTime.h"
#include "MoviesLog.h"
#include "TextCache.h"
#include "TextCleaning.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace zt::movies {

std::optional<std::vector<TrackText>> ReadTextTracksFromFile(const std::string& path,
                                                             const std::vector<int>& streams) {
    std::unique_ptr<MovieInput> input = MovieInput::Open(path);
    if (input == nullptr) return std::nullopt;
    AVFormatContext* format = input->Context();
    std::vector<TrackText> tracks(streams.size());
    std::vector<int> slotOfStream(format->nb_streams, -1);
    for (size_t t = 0; t < streams.size(); ++t) {
        tracks[t].streamIndex = streams[t];
        if (streams[t] >= 0 && unsigned(streams[t]) < format->nb_streams) slotOfStream[size_t(streams[t])] = int(t);
    }
    // Only the text streams' packets are wanted: the demuxer skips the others.
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = slotOfStream[i] >= 0 ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    int64_t origin = MovieOriginUs(format);
    AVPacket* packet = av_packet_alloc();
    if (packet == nullptr) return std::nullopt;
    while (av_read_frame(format, packet) >= 0) {
        int slot = unsigned(packet->stream_index) < slotOfStream.size() ? slotOfStream[size_t(packet->stream_index)] : -1;
        if (slot >= 0) {
            AVStream* stream = format->streams[packet->stream_index];
            int64_t when = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            std::string text = CleanSampleText(stream->codecpar->codec_id, packet->data, size_t(packet->size));
            if (when != AV_NOPTS_VALUE && !text.empty()) {
                TimeValue start = UsToTimeValue(av_rescale_q(when, stream->time_base, AV_TIME_BASE_Q) - origin);
                TimeValue duration =
                    UsToTimeValue(av_rescale_q(std::max<int64_t>(packet->duration, 0), stream->time_base, AV_TIME_BASE_Q));
                tracks[size_t(slot)].Add(std::max<TimeValue>(start, 0), duration, text, FoldForSearch(text));
            }
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    for (TrackText& track : tracks) {
        bool ordered = std::is_sorted(track.samples.begin(), track.samples.end(),
                                      [](const TextSample& a, const TextSample& b) { return a.start < b.start; });
        if (ordered) continue;
        // Rebuild in time order (rare: demuxers give a stream's packets in order).
        std::vector<size_t> order(track.samples.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return track.samples[a].start < track.samples[b].start; });
        TrackText sorted;
        sorted.streamIndex = track.streamIndex;
        for (size_t i : order) {
            const TextSample& s = track.samples[i];
            sorted.Add(s.start, s.duration, std::string(track.plain.c_str() + s.plainOffset),
                       std::string(track.folded.c_str() + s.foldedOffset));
        }
        track = std::move(sorted);
    }
    return tracks;
}

std::optional<std::vector<TrackText>> LoadTextTracks(const std::string& path, const std::vector<int>& streams) {
    struct stat info {};
    if (!files::StatPath(path, info)) {
        LogMoviesProblem("cannot read the text of %s: it is gone", path.c_str());
        return std::nullopt;
    }
    TextCacheKey key{path, int64_t(info.st_size), int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
    if (auto cached = ReadTextCache(key, streams)) return cached;
    auto tracks = ReadTextTracksFromFile(path, streams);
    if (!tracks) {
        LogMoviesProblem("cannot read the text of %s", path.c_str());
        return std::nullopt;
    }
    WriteTextCache(key, *tracks);
    return tracks;
}

} // namespace zt::movies
