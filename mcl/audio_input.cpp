#include "mcl/audio_input.h"

#include <algorithm>
#include <vector>

#include "mcl/probe.h"

namespace mcl {

void WriteSilence(AVAudioFifo* fifo, const AudioFormat& format, int64_t n)
{
    const int chunk = 4096;
    uint8_t** data = nullptr;
    if (av_samples_alloc_array_and_samples(&data, nullptr, 2, chunk, format.sampleFormat, 0) < 0) return;
    av_samples_set_silence(data, 0, chunk, 2, format.sampleFormat);
    while (n > 0) {
        int k = int(std::min<int64_t>(n, chunk));
        av_audio_fifo_write(fifo, reinterpret_cast<void**>(data), k);
        n -= k;
    }
    av_freep(&data[0]);
    av_freep(&data);
}

bool AudioEntryReader::Open(const std::string& path, std::string* error)
{
    int err = 0;
    InputFormat input = OpenInput(path, &err);
    if (!input) {
        *error = "Cannot open \"" + path + "\": " + AvErrorText(err);
        return false;
    }
    bool hasVideo = false;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        AVStream* s = input->streams[i];
        if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC))
            hasVideo = true;
    }
    if (hasVideo) {
        limit_ = MediaFrames(ProbeDuration(path)) * format_.sampleRate / 25;
        // the probe read the file; start over
        input = OpenInput(path, &err);
        if (!input) {
            *error = "Cannot open \"" + path + "\": " + AvErrorText(err);
            return false;
        }
    }
    const int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream >= 0) decoder_.Open(std::move(input), stream);
    if (!decoder_) {
        if (!hasVideo) {
            *error = "\"" + path + "\" holds no readable sound";
            return false;
        }
        ended_ = true;  // a silent video: silence for its length
    }
    return true;
}

int64_t AudioEntryReader::Deliver(AVAudioFifo* fifo, uint8_t** data, int64_t n)
{
    if (limit_ >= 0) n = std::min(n, limit_ - delivered_);
    if (n <= 0) return 0;
    av_audio_fifo_write(fifo, reinterpret_cast<void**>(data), int(n));
    delivered_ += n;
    return n;
}

AudioEntryReader::~AudioEntryReader() { av_channel_layout_uninit(&inLayout_); }

// A change of rate, format or layout mid-file starts a new resampler.
bool AudioEntryReader::Configure(const AVFrame* frame)
{
    if (resampler_ && frame->sample_rate == inRate_ && frame->format == inFormat_ &&
        (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC
             ? frame->ch_layout.nb_channels == inLayout_.nb_channels
             : !av_channel_layout_compare(&frame->ch_layout, &inLayout_)))
        return true;
    av_channel_layout_uninit(&inLayout_);
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&inLayout_, std::max(1, frame->ch_layout.nb_channels));
    else
        av_channel_layout_copy(&inLayout_, &frame->ch_layout);
    inRate_ = frame->sample_rate;
    inFormat_ = frame->format;
    AVChannelLayout stereo{};
    av_channel_layout_default(&stereo, 2);
    SwrContext* raw = nullptr;
    int r = swr_alloc_set_opts2(&raw, &stereo, format_.sampleFormat, format_.sampleRate, &inLayout_,
                                AVSampleFormat(inFormat_), inRate_, 0, nullptr);
    resampler_.reset(raw);
    if (r < 0 || swr_init(raw) < 0) {
        resampler_.reset();
        return false;
    }
    return true;
}

int64_t AudioEntryReader::Convert(AVAudioFifo* fifo, const AVFrame* frame)
{
    int inCount = frame ? frame->nb_samples : 0;
    int outMax = swr_get_out_samples(resampler_.get(), inCount);
    if (outMax <= 0) return 0;
    uint8_t** out = nullptr;
    if (av_samples_alloc_array_and_samples(&out, nullptr, 2, outMax, format_.sampleFormat, 0) < 0) return 0;
    int got = swr_convert(resampler_.get(), out, outMax,
                          frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr, inCount);
    int64_t n = got > 0 ? Deliver(fifo, out, got) : 0;
    av_freep(&out[0]);
    av_freep(&out);
    return n;
}

int64_t AudioEntryReader::Read(AVAudioFifo* fifo, int64_t wanted)
{
    int64_t added = 0;
    while (added < wanted && !ended_) {
        if (limit_ >= 0 && delivered_ >= limit_) {
            ended_ = true;
            break;
        }
        if (!decoder_.Next(frame_.get())) {
            ended_ = true;
            break;
        }
        // absurd rates or layouts from damaged files would make the resampler huge
        if (frame_->sample_rate > 0 && frame_->sample_rate <= 768000 && frame_->nb_samples > 0 &&
            frame_->ch_layout.nb_channels <= 64 && Configure(frame_.get()))
            added += Convert(fifo, frame_.get());
        av_frame_unref(frame_.get());
    }
    if (ended_ && !flushed_) {
        flushed_ = true;
        if (resampler_) added += Convert(fifo, nullptr);
    }
    // a video's missing sound is padded as it is asked for: its length comes
    // from the file's header and may be anything
    if (ended_ && limit_ > delivered_ && added < wanted) {
        int64_t n = std::min(limit_ - delivered_, wanted - added);
        WriteSilence(fifo, format_, n);
        added += n;
        delivered_ += n;
    }
    return added;
}

}  // namespace mcl
