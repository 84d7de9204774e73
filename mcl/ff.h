// Owning handles for the FFmpeg objects libmcl uses.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace mcl {

struct InputFormatCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecContextFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwrFreer {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
struct AudioFifoFreer {
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using InputFormat = std::unique_ptr<AVFormatContext, InputFormatCloser>;
using CodecContext = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using Frame = std::unique_ptr<AVFrame, FrameFreer>;
using Packet = std::unique_ptr<AVPacket, PacketFreer>;
using Resampler = std::unique_ptr<SwrContext, SwrFreer>;
using AudioFifo = std::unique_ptr<AVAudioFifo, AudioFifoFreer>;

inline Frame NewFrame() { return Frame(av_frame_alloc()); }
inline Packet NewPacket() { return Packet(av_packet_alloc()); }

// A new reference to the same picture.
inline Frame RefFrame(const AVFrame* f) { return Frame(av_frame_clone(f)); }

inline std::string AvErrorText(int err)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return text;
}

// Only a regular file is opened: a pipe or a device under a file's name
// would block or never end.
inline bool IsRegularFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

// Opens a media file for reading; empty on failure (err receives the code).
inline InputFormat OpenInput(const std::string& path, int* err = nullptr)
{
    if (!IsRegularFile(path)) {
        if (err) *err = AVERROR(EINVAL);
        return {};
    }
    // A damaged header can name a field of hundreds of megabytes that FFmpeg
    // would allocate and clear; no real picture or packet comes near 64 MB.
    static std::once_flag capped;
    std::call_once(capped, [] { av_max_alloc(size_t{64} << 20); });
    AVFormatContext* raw = nullptr;
    int r = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (err) *err = r;
    if (r < 0) return {};
    InputFormat fmt(raw);
    r = avformat_find_stream_info(fmt.get(), nullptr);
    if (err) *err = r;
    if (r < 0) return {};
    return fmt;
}

// The same, with the reason in *error on failure.
inline InputFormat OpenInput(const std::string& path, std::string* error)
{
    int err = 0;
    InputFormat fmt = OpenInput(path, &err);
    if (!fmt)
        *error = "Cannot open \"" + path +
                 "\": " + (IsRegularFile(path) ? AvErrorText(err) : "not a regular file");
    return fmt;
}

// A moving picture of the file's own, not a cover picture.
inline bool IsRealVideo(const AVStream* s)
{
    return s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

// The file's first such stream, -1 when it has none.
inline int FirstRealVideo(const AVFormatContext* fmt)
{
    for (unsigned i = 0; i < fmt->nb_streams; ++i)
        if (IsRealVideo(fmt->streams[i])) return int(i);
    return -1;
}

}  // namespace mcl
