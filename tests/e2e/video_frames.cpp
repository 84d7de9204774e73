#include "tests/e2e/video_frames.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace e2e {

namespace {

Picture ToRgb(const AVFrame* frame)
{
    Picture picture;
    picture.width = frame->width;
    picture.height = frame->height;
    picture.rgb.resize(static_cast<size_t>(frame->width) * frame->height * 3);
    SwsContext* sws = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                     frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
    uint8_t* dst[4] = {picture.rgb.data()};
    int lines[4] = {frame->width * 3};
    sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, lines);
    sws_freeContext(sws);
    return picture;
}

}  // namespace

Picture PictureAt(const std::filesystem::path& path, double seconds)
{
    Picture found;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return found;
    avformat_find_stream_info(format, nullptr);
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) {
        avformat_close_input(&format);
        return found;
    }
    AVStream* stream = format->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    auto take = [&] {
        while (found.Empty() && avcodec_receive_frame(decoder, frame) >= 0) {
            const int64_t pts = frame->best_effort_timestamp;
            if (pts != AV_NOPTS_VALUE && av_q2d(stream->time_base) * double(pts - start) >= seconds - 1e-6)
                found = ToRgb(frame);
            av_frame_unref(frame);
        }
    };
    while (found.Empty() && av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == index && avcodec_send_packet(decoder, packet) >= 0) take();
        av_packet_unref(packet);
    }
    if (found.Empty()) {
        avcodec_send_packet(decoder, nullptr);
        take();
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return found;
}

}  // namespace e2e
