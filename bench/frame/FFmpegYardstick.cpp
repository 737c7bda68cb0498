#include "FFmpegYardstick.h"

#include <chrono>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

namespace zt::bench {

namespace {

struct InputCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
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
struct BufferDeleter {
    void operator()(uint8_t* b) const { av_free(b); }
};

} // namespace

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

DecodeFigures DecodeAndScale(const std::string& path, double seconds, int width, int height) {
    double cpuStart = ProcessCpuSeconds();
    auto wallStart = std::chrono::steady_clock::now();

    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) throw std::runtime_error("cannot open " + path);
    std::unique_ptr<AVFormatContext, InputCloser> format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0) throw std::runtime_error("no stream info");
    int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) throw std::runtime_error("no picture stream");
    AVStream* stream = format->streams[index];
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecDeleter> decoder(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    decoder->thread_count = 1;
    decoder->pkt_timebase = stream->time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) throw std::runtime_error("cannot decode");

    int rowBytes = (width * 4 + 63) & ~63;
    std::unique_ptr<uint8_t, BufferDeleter> pixels(static_cast<uint8_t*>(av_malloc(size_t(rowBytes) * height)));
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    std::unique_ptr<SwsContext, ScalerDeleter> scaler;
    int64_t endPts = av_rescale_q(int64_t(seconds * AV_TIME_BASE), AV_TIME_BASE_Q, stream->time_base);
    if (stream->start_time != AV_NOPTS_VALUE) endPts += stream->start_time;

    DecodeFigures figures;
    bool done = false;
    auto drain = [&] {
        while (!done && avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            if (frame->best_effort_timestamp != AV_NOPTS_VALUE && frame->best_effort_timestamp >= endPts) {
                done = true;
            } else {
                scaler.reset(sws_getCachedContext(scaler.release(), frame->width, frame->height,
                                                  AVPixelFormat(frame->format), width, height, AV_PIX_FMT_0RGB32,
                                                  SWS_BILINEAR, nullptr, nullptr, nullptr));
                uint8_t* planes[4] = {pixels.get(), nullptr, nullptr, nullptr};
                int strides[4] = {rowBytes, 0, 0, 0};
                sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
                ++figures.frames;
            }
            av_frame_unref(frame.get());
        }
    };
    while (!done && av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == index) avcodec_send_packet(decoder.get(), packet.get());
        av_packet_unref(packet.get());
        drain();
    }
    if (!done) {
        avcodec_send_packet(decoder.get(), nullptr);
        drain();
    }
    figures.cpuSeconds = ProcessCpuSeconds() - cpuStart;
    figures.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    return figures;
}

double OpenAndClose(const std::vector<std::string>& paths) {
    auto start = std::chrono::steady_clock::now();
    for (const std::string& path : paths) {
        AVFormatContext* format = nullptr;
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) == 0) avformat_close_input(&format);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace zt::bench
