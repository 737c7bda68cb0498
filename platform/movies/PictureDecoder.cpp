#include "PictureDecoder.h"

#include "MovieInput.h"
#include "MoviesLog.h"

#include <pthread.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

namespace zt::movies {

namespace {

// x-8-8-8 in native byte order, as the ports hold it.
constexpr AVPixelFormat kPortFormat = AV_PIX_FMT_0RGB32;

struct CodecDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScalerDeleter {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

} // namespace

PictureDecoder::PictureDecoder(PictureSource source, int64_t startUs, int width, int height)
    : source_(std::move(source)), startUs_(startUs) {
    queue_.SetTargetSize(width, height);
    thread_ = std::thread([this] { Run(); });
}

PictureDecoder::~PictureDecoder() {
    stopping_ = true;
    queue_.Abort();
    if (thread_.joinable()) thread_.join();
}

void PictureDecoder::Run() {
    pthread_setname_np(pthread_self(), "zt-movie-decode");
    Decode();
    queue_.Finish();
}

void PictureDecoder::Decode() {
    std::unique_ptr<MovieInput> input = MovieInput::Open(source_.path);
    if (input == nullptr) {
        LogMoviesProblem("cannot open %s to play it", source_.path.c_str());
        return;
    }
    AVFormatContext* format = input->Context();
    if (source_.streamIndex < 0 || unsigned(source_.streamIndex) >= format->nb_streams) return;
    AVStream* stream = format->streams[source_.streamIndex];
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == source_.streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecDeleter> decoder(codec != nullptr ? avcodec_alloc_context3(codec) : nullptr);
    if (decoder == nullptr || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0) {
        LogMoviesProblem("no decoder for the pictures of %s", source_.path.c_str());
        return;
    }
    decoder->thread_count = 1;
    decoder->pkt_timebase = stream->time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        LogMoviesProblem("cannot decode the pictures of %s", source_.path.c_str());
        return;
    }

    int64_t origin = format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
    if (startUs_ > 0) {
        int64_t target = av_rescale_q(startUs_ + origin, AV_TIME_BASE_Q, stream->time_base);
        av_seek_frame(format, source_.streamIndex, target, AVSEEK_FLAG_BACKWARD);
    }
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    int64_t frameUs = rate.num > 0 && rate.den > 0 ? av_rescale(AV_TIME_BASE, rate.den, rate.num) : 40000;

    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    std::unique_ptr<SwsContext, ScalerDeleter> scaler;
    if (packet == nullptr || frame == nullptr) return;
    int64_t nextUs = 0;

    // Scales and publishes one decoded frame; false when the queue was aborted.
    auto deliver = [&]() -> bool {
        int64_t pts = frame->best_effort_timestamp;
        int64_t startUs = pts != AV_NOPTS_VALUE ? av_rescale_q(pts, stream->time_base, AV_TIME_BASE_Q) - origin : nextUs;
        int64_t lengthUs = frame->pkt_duration > 0 ? av_rescale_q(frame->pkt_duration, stream->time_base, AV_TIME_BASE_Q)
                                                   : frameUs;
        nextUs = startUs + lengthUs;
        if (nextUs <= startUs_) return true; // before the start time: skipped
        int index = queue_.AcquireFree();
        if (index < 0) return false;
        FrameSlot& slot = queue_.Slot(index);
        slot.startUs = startUs;
        slot.endUs = nextUs;
        if (slot.width > 0 && frame->width > 0 && frame->height > 0) {
            SwsContext* cached = sws_getCachedContext(scaler.release(), frame->width, frame->height,
                                                      AVPixelFormat(frame->format), slot.width, slot.height,
                                                      kPortFormat, SWS_BILINEAR, nullptr, nullptr, nullptr);
            scaler.reset(cached);
            uint8_t* planes[4] = {slot.pixels, nullptr, nullptr, nullptr};
            int strides[4] = {slot.rowBytes, 0, 0, 0};
            if (scaler == nullptr ||
                sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) <= 0)
                slot.width = slot.height = 0; // nothing to draw for this frame
        }
        queue_.Publish(index);
        return true;
    };
    auto drain = [&]() -> bool {
        while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            bool go = deliver();
            av_frame_unref(frame.get());
            if (!go) return false;
        }
        return true;
    };

    while (!stopping_) {
        int read = av_read_frame(format, packet.get());
        if (read < 0) break; // the end of the data, or a read error: the data ends here
        if (packet->stream_index == source_.streamIndex &&
            avcodec_send_packet(decoder.get(), packet.get()) == AVERROR(EAGAIN)) {
            // The decoder wants its frames taken first.
            if (!drain()) return;
            avcodec_send_packet(decoder.get(), packet.get());
        }
        av_packet_unref(packet.get());
        if (!drain()) return;
    }
    if (stopping_) return;
    avcodec_send_packet(decoder.get(), nullptr); // flush the frames the decoder still holds
    drain();
}

} // namespace zt::movies
