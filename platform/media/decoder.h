#pragma once
// Decodes a media file step by step: sound as interleaved 16-bit stereo at
// 44.1 kHz (resampled by libswresample), pictures as decoded frames with
// their time in seconds from the start of the media.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/media/av_handles.h"

namespace media {

inline constexpr int kOutputRate = 44100;
inline constexpr int kOutputChannels = 2;

struct VideoFrame {
    double time = 0;  // seconds from the start of the media
    FramePtr frame;   // decoded picture, any pixel format
};

class Decoder {
public:
    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // False with `error` set when the file cannot be opened or has neither
    // a playable sound nor a playable picture stream.
    bool Open(const std::filesystem::path& path, const std::atomic<bool>* cancel, std::string& error);
    bool HasAudio() const { return audio_codec_ != nullptr; }
    bool HasVideo() const { return video_codec_ != nullptr; }

    // Reads and decodes one packet, appending samples and pictures. Returns
    // false once the file is exhausted and the decoders are drained, or at
    // the first place where the file cannot be read or decoded: then
    // Error() says why, and what came before it has been appended.
    bool Step(std::vector<int16_t>& samples, std::vector<VideoFrame>& pictures);
    const std::string& Error() const { return error_; }

private:
    bool OpenCodec(int stream_index, CodecPtr& codec);
    bool Drain(AVCodecContext* codec, std::vector<int16_t>& samples, std::vector<VideoFrame>& pictures);
    bool ConvertAudio(const AVFrame* frame, std::vector<int16_t>& samples);
    bool ConfigureResampler(const AVFrame* frame);
    bool Fail(const std::string& what, int code);
    // A damaged sound packet left out: its time is owed as silence.
    void NoteLostSound(const AVPacket& packet);

    FormatPtr format_;
    CodecPtr audio_codec_, video_codec_;
    int audio_stream_ = -1, video_stream_ = -1;
    ResamplerPtr resampler_;
    int resampler_rate_ = 0, resampler_format_ = -1, resampler_channels_ = 0;
    double start_seconds_ = 0;
    PacketPtr packet_;
    FramePtr frame_;
    bool flushed_ = false;
    double lost_seconds_ = 0;  // sound left out since the last sound frame
    std::string error_;
};

}  // namespace media
