#include "platform/media/decoder.h"

#include <algorithm>
#include <cmath>

#include "platform/media/probe.h"

namespace media {

bool Decoder::Open(const std::filesystem::path& path, const std::atomic<bool>* cancel, std::string& error)
{
    format_ = OpenMediaFile(path.string(), cancel, error);
    if (!format_) return false;
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!packet_ || !frame_) {
        error = "out of memory";
        return false;
    }
    if (format_->start_time != AV_NOPTS_VALUE)
        start_seconds_ = static_cast<double>(format_->start_time) / AV_TIME_BASE;

    int audio = av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio >= 0 && IsPlayableAudio(format_->streams[audio]) && OpenCodec(audio, audio_codec_))
        audio_stream_ = audio;
    int video = av_find_best_stream(format_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0 && IsPlayableVideo(format_->streams[video]) && OpenCodec(video, video_codec_))
        video_stream_ = video;
    if (!audio_codec_ && !video_codec_) {
        error = "the file holds no sound or picture that can be played";
        return false;
    }
    return true;
}

bool Decoder::OpenCodec(int stream_index, CodecPtr& codec)
{
    const AVCodecParameters* params = format_->streams[stream_index]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(params->codec_id);
    if (!decoder) return false;
    CodecPtr context(avcodec_alloc_context3(decoder));
    if (!context || avcodec_parameters_to_context(context.get(), params) < 0) return false;
    context->pkt_timebase = format_->streams[stream_index]->time_base;
    if (avcodec_open2(context.get(), decoder, nullptr) < 0) return false;
    codec = std::move(context);
    return true;
}

void Decoder::NoteLostSound(const AVPacket& packet)
{
    const AVStream* stream = format_->streams[audio_stream_];
    double seconds =
        packet.duration > 0 ? static_cast<double>(packet.duration) * av_q2d(stream->time_base) : 0;
    // Damage can merge frames into one packet: its bytes at the stream's
    // bit rate may be worth more.
    const int64_t rate = stream->codecpar->bit_rate;
    if (rate > 0 && packet.size > 0)
        seconds = std::max(seconds, packet.size * 8.0 / static_cast<double>(rate));
    lost_seconds_ += seconds;
}

bool Decoder::Fail(const std::string& what, int code)
{
    error_ = code < 0 ? what + ": " + AvErrorText(code) : what;
    flushed_ = true;
    return false;
}

bool Decoder::Step(std::vector<int16_t>& samples, std::vector<VideoFrame>& pictures)
{
    if (flushed_) return false;
    int rc = av_read_frame(format_.get(), packet_.get());
    if (rc < 0) {
        // The end, or a read error: what the decoders still hold comes out.
        for (AVCodecContext* codec : {audio_codec_.get(), video_codec_.get()}) {
            if (!codec) continue;
            const int flushed = avcodec_send_packet(codec, nullptr);
            if (flushed < 0 && flushed != AVERROR_EOF) return Fail("the file cannot be decoded", flushed);
            if (!Drain(codec, samples, pictures)) return false;
        }
        if (rc != AVERROR_EOF) return Fail("the file cannot be read", rc);
        flushed_ = true;
        return false;
    }
    AVCodecContext* codec = nullptr;
    if (packet_->stream_index == audio_stream_)
        codec = audio_codec_.get();
    else if (packet_->stream_index == video_stream_)
        codec = video_codec_.get();
    rc = codec ? avcodec_send_packet(codec, packet_.get()) : 0;
    if (rc == AVERROR_INVALIDDATA && codec && codec == audio_codec_.get()) NoteLostSound(*packet_);
    av_packet_unref(packet_.get());
    // A damaged packet is left out and playing goes on, as other players do
    // (many files end in junk after their last frame); any other failure
    // stops the file here, where the player reports it.
    if (rc < 0 && rc != AVERROR_INVALIDDATA) return Fail("the file cannot be decoded", rc);
    return !codec || Drain(codec, samples, pictures);
}

bool Decoder::Drain(AVCodecContext* codec, std::vector<int16_t>& samples, std::vector<VideoFrame>& pictures)
{
    for (int damaged = 0;;) {
        const int rc = avcodec_receive_frame(codec, frame_.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc == AVERROR_INVALIDDATA && ++damaged < 16) continue;  // a damaged frame is left out
        if (rc < 0) return Fail("the file cannot be decoded", rc);
        if (codec == audio_codec_.get()) {
            // Sound left out before this frame is silence of its time, so
            // that what follows plays when it belongs.
            if (lost_seconds_ > 0) {
                const auto lost =
                    static_cast<size_t>(std::llround(std::min(lost_seconds_, 60.0) * kOutputRate));
                samples.insert(samples.end(), lost * kOutputChannels, 0);
                lost_seconds_ = 0;
            }
            const bool converted = ConvertAudio(frame_.get(), samples);
            av_frame_unref(frame_.get());
            if (!converted) return false;
            continue;
        }
        VideoFrame picture;
        const int64_t stamp = frame_->best_effort_timestamp;
        const AVRational base = format_->streams[video_stream_]->time_base;
        picture.time = stamp == AV_NOPTS_VALUE ? (pictures.empty() ? 0.0 : pictures.back().time)
                                               : static_cast<double>(stamp) * av_q2d(base) - start_seconds_;
        picture.frame.reset(av_frame_alloc());
        if (!picture.frame) {
            av_frame_unref(frame_.get());
            return Fail("out of memory", 0);
        }
        av_frame_move_ref(picture.frame.get(), frame_.get());
        pictures.push_back(std::move(picture));
    }
}

bool Decoder::ConfigureResampler(const AVFrame* frame)
{
    if (resampler_ && frame->sample_rate == resampler_rate_ && frame->format == resampler_format_ &&
        frame->ch_layout.nb_channels == resampler_channels_)
        return true;
    resampler_.reset();
    AVChannelLayout in_layout{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&in_layout, frame->ch_layout.nb_channels);
    else if (av_channel_layout_copy(&in_layout, &frame->ch_layout) < 0)
        return false;
    AVChannelLayout out_layout{};
    av_channel_layout_default(&out_layout, kOutputChannels);
    SwrContext* raw = nullptr;
    int rc = swr_alloc_set_opts2(&raw, &out_layout, AV_SAMPLE_FMT_S16, kOutputRate, &in_layout,
                                 static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in_layout);
    av_channel_layout_uninit(&out_layout);
    ResamplerPtr resampler(raw);
    if (rc < 0 || swr_init(resampler.get()) < 0) return false;
    resampler_ = std::move(resampler);
    resampler_rate_ = frame->sample_rate;
    resampler_format_ = frame->format;
    resampler_channels_ = frame->ch_layout.nb_channels;
    return true;
}

bool Decoder::ConvertAudio(const AVFrame* frame, std::vector<int16_t>& samples)
{
    // Absurd rates or layouts come only from damaged files and would make
    // the resampler huge.
    if (frame->sample_rate <= 0 || frame->sample_rate > 768000 || frame->nb_samples <= 0 ||
        frame->ch_layout.nb_channels <= 0 || frame->ch_layout.nb_channels > 64)
        return Fail("the file holds sound that cannot be played", 0);
    if (!ConfigureResampler(frame)) return Fail("the sound cannot be resampled", 0);
    const int capacity = swr_get_out_samples(resampler_.get(), frame->nb_samples);
    if (capacity < 0) return Fail("the sound cannot be resampled", capacity);
    if (capacity == 0) return true;
    const size_t old_size = samples.size();
    samples.resize(old_size + static_cast<size_t>(capacity) * kOutputChannels);
    uint8_t* out = reinterpret_cast<uint8_t*>(samples.data() + old_size);
    const int produced = swr_convert(resampler_.get(), &out, capacity,
                                     const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    samples.resize(old_size + static_cast<size_t>(std::max(produced, 0)) * kOutputChannels);
    if (produced < 0) return Fail("the sound cannot be resampled", produced);
    return true;
}

}  // namespace media
