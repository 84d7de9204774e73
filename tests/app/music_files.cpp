#include "tests/app/music_files.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace app_test {

namespace {

float Tone(int64_t sample, int rate)
{
    return static_cast<float>(0.4 * std::sin(2 * M_PI * 440.0 * static_cast<double>(sample) / rate));
}

template <class T>
void Put(std::ofstream& out, T value)
{
    for (size_t i = 0; i < sizeof(T); ++i)
        out.put(static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF));
}

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

void Check(int rc, const char* what)
{
    if (rc < 0) throw std::runtime_error(std::string("cannot write the test MP3: ") + what);
}

void Drain(Encoder& e, AVStream* stream)
{
    for (;;) {
        const int rc = avcodec_receive_packet(e.codec, e.packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return;
        Check(rc, "encode");
        av_packet_rescale_ts(e.packet, e.codec->time_base, stream->time_base);
        e.packet->stream_index = stream->index;
        Check(av_interleaved_write_frame(e.format, e.packet), "write");
    }
}

}  // namespace

void WriteWavTone(const std::filesystem::path& file, double seconds, int rate)
{
    const auto samples = static_cast<uint32_t>(std::llround(seconds * rate));
    std::ofstream out(file, std::ios::binary);
    out.write("RIFF", 4);
    Put<uint32_t>(out, 36 + samples * 2);
    out.write("WAVEfmt ", 8);
    Put<uint32_t>(out, 16);
    Put<uint16_t>(out, 1);  // PCM
    Put<uint16_t>(out, 1);  // mono
    Put<uint32_t>(out, static_cast<uint32_t>(rate));
    Put<uint32_t>(out, static_cast<uint32_t>(rate) * 2);
    Put<uint16_t>(out, 2);
    Put<uint16_t>(out, 16);
    out.write("data", 4);
    Put<uint32_t>(out, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) Put<int16_t>(out, static_cast<int16_t>(Tone(i, rate) * 32767));
}

void WriteMp3Tone(const std::filesystem::path& file, double seconds)
{
    constexpr int kRate = 44100;
    Encoder e;
    Check(avformat_alloc_output_context2(&e.format, nullptr, "mp3", file.c_str()), "no MP3 muxer");
    const AVCodec* codec = avcodec_find_encoder_by_name("libmp3lame");
    if (!codec) throw std::runtime_error("libavcodec has no libmp3lame encoder");
    AVStream* stream = avformat_new_stream(e.format, nullptr);
    e.codec = avcodec_alloc_context3(codec);
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (!stream || !e.codec || !e.frame || !e.packet) throw std::runtime_error("out of memory");
    e.codec->sample_rate = kRate;
    e.codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    e.codec->bit_rate = 64000;
    e.codec->time_base = AVRational{1, kRate};
    av_channel_layout_default(&e.codec->ch_layout, 1);
    Check(avcodec_open2(e.codec, codec, nullptr), "open the encoder");
    Check(avcodec_parameters_from_context(stream->codecpar, e.codec), "parameters");
    stream->time_base = e.codec->time_base;
    Check(avio_open(&e.format->pb, file.c_str(), AVIO_FLAG_WRITE), "open the file");
    Check(avformat_write_header(e.format, nullptr), "header");

    const int frame_size = e.codec->frame_size > 0 ? e.codec->frame_size : 1152;
    e.frame->format = e.codec->sample_fmt;
    e.frame->sample_rate = kRate;
    e.frame->nb_samples = frame_size;
    av_channel_layout_copy(&e.frame->ch_layout, &e.codec->ch_layout);
    Check(av_frame_get_buffer(e.frame, 0), "frame");
    const auto total = static_cast<int64_t>(std::llround(seconds * kRate));
    for (int64_t at = 0; at < total; at += frame_size) {
        Check(av_frame_make_writable(e.frame), "frame");
        auto* samples = reinterpret_cast<float*>(e.frame->data[0]);
        const int count = static_cast<int>(std::min<int64_t>(frame_size, total - at));
        for (int i = 0; i < count; ++i) samples[i] = Tone(at + i, kRate);
        e.frame->nb_samples = count;
        e.frame->pts = at;
        Check(avcodec_send_frame(e.codec, e.frame), "encode");
        Drain(e, stream);
    }
    Check(avcodec_send_frame(e.codec, nullptr), "flush");
    Drain(e, stream);
    Check(av_write_trailer(e.format), "trailer");
}

}  // namespace app_test
