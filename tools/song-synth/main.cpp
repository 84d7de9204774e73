// song-synth: writes the sample song as an MP3 file (44.1 kHz stereo,
// 128 kbit/s, through libavcodec's LAME encoder).
//
//   song-synth OUTPUT.mp3
#include <cstdio>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include "tools/song-synth/tune.h"

namespace {

constexpr int kSampleRate = 44100;

std::string AvError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

int Fail(const std::string& what)
{
    std::fprintf(stderr, "song-synth: %s\n", what.c_str());
    return 1;
}

// Owners of the FFmpeg objects, so every path out frees them.
struct Encoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    ~Encoder()
    {
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (format && format->pb) avio_closep(&format->pb);
        avformat_free_context(format);
    }
};

int Drain(Encoder& e, AVStream* stream)
{
    for (;;) {
        int rc = avcodec_receive_packet(e.codec, e.packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return 0;
        if (rc < 0) return rc;
        av_packet_rescale_ts(e.packet, e.codec->time_base, stream->time_base);
        e.packet->stream_index = stream->index;
        rc = av_interleaved_write_frame(e.format, e.packet);
        if (rc < 0) return rc;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: song-synth OUTPUT.mp3\n");
        return 2;
    }
    const char* output = argv[1];
    const song::Stereo samples = song::Render(song::SampleTune(), kSampleRate);

    Encoder e;
    int rc = avformat_alloc_output_context2(&e.format, nullptr, "mp3", output);
    if (rc < 0) return Fail("no MP3 muxer: " + AvError(rc));
    const AVCodec* codec = avcodec_find_encoder_by_name("libmp3lame");
    if (!codec) return Fail("libavcodec has no libmp3lame encoder");
    AVStream* stream = avformat_new_stream(e.format, nullptr);
    e.codec = avcodec_alloc_context3(codec);
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (!stream || !e.codec || !e.frame || !e.packet) return Fail("out of memory");

    e.codec->sample_rate = kSampleRate;
    e.codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    e.codec->bit_rate = 128000;
    e.codec->time_base = AVRational{1, kSampleRate};
    av_channel_layout_default(&e.codec->ch_layout, 2);
    if ((rc = avcodec_open2(e.codec, codec, nullptr)) < 0)
        return Fail("cannot open the encoder: " + AvError(rc));
    if ((rc = avcodec_parameters_from_context(stream->codecpar, e.codec)) < 0) return Fail(AvError(rc));
    stream->time_base = e.codec->time_base;
    av_dict_set(&e.format->metadata, "title", "相册小调", 0);
    av_dict_set(&e.format->metadata, "artist", "Velmora", 0);

    if ((rc = avio_open(&e.format->pb, output, AVIO_FLAG_WRITE)) < 0) {
        return Fail(std::string("cannot write ") + output + ": " + AvError(rc));
    }
    if ((rc = avformat_write_header(e.format, nullptr)) < 0) return Fail(AvError(rc));

    const int frameSize = e.codec->frame_size > 0 ? e.codec->frame_size : 1152;
    e.frame->format = e.codec->sample_fmt;
    e.frame->sample_rate = kSampleRate;
    e.frame->nb_samples = frameSize;
    av_channel_layout_copy(&e.frame->ch_layout, &e.codec->ch_layout);
    if ((rc = av_frame_get_buffer(e.frame, 0)) < 0) return Fail(AvError(rc));

    const std::size_t total = samples.left.size();
    for (std::size_t at = 0; at < total; at += frameSize) {
        if ((rc = av_frame_make_writable(e.frame)) < 0) return Fail(AvError(rc));
        auto* left = reinterpret_cast<float*>(e.frame->data[0]);
        auto* right = reinterpret_cast<float*>(e.frame->data[1]);
        for (int i = 0; i < frameSize; ++i) {
            const bool inside = at + i < total;
            left[i] = inside ? samples.left[at + i] : 0.0f;
            right[i] = inside ? samples.right[at + i] : 0.0f;
        }
        e.frame->pts = static_cast<std::int64_t>(at);
        if ((rc = avcodec_send_frame(e.codec, e.frame)) < 0) return Fail(AvError(rc));
        if ((rc = Drain(e, stream)) < 0) return Fail(AvError(rc));
    }
    if ((rc = avcodec_send_frame(e.codec, nullptr)) < 0) return Fail(AvError(rc));
    if ((rc = Drain(e, stream)) < 0) return Fail(AvError(rc));
    if ((rc = av_write_trailer(e.format)) < 0) return Fail(AvError(rc));
    return 0;
}
