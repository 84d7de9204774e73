#include "mcl/audio_input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "mcl/mcl.h"
#include "mcl/probe.h"

namespace mcl {
namespace {

Status OutOfMemory() { return Status{MCL_ERROR_ENCODER, "Out of memory for the sound"}; }

std::string SecondsText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    return text;
}

}  // namespace

Status WriteSilence(AVAudioFifo* fifo, const AudioFormat& format, int64_t n)
{
    const int chunk = 4096;
    uint8_t** data = nullptr;
    if (av_samples_alloc_array_and_samples(&data, nullptr, 2, chunk, format.sampleFormat, 0) < 0)
        return OutOfMemory();
    av_samples_set_silence(data, 0, chunk, 2, format.sampleFormat);
    Status status;
    while (n > 0 && status.ok()) {
        int k = int(std::min<int64_t>(n, chunk));
        if (av_audio_fifo_write(fifo, reinterpret_cast<void**>(data), k) != k) status = OutOfMemory();
        n -= k;
    }
    av_freep(&data[0]);
    av_freep(&data);
    return status;
}

bool AudioEntryReader::Open(const std::string& path, double seconds, std::string* error)
{
    path_ = path;
    InputFormat input = OpenInput(path, error);
    if (!input) return false;
    const bool hasVideo = FirstRealVideo(input.get()) >= 0;
    if (hasVideo) {
        limit_ = MediaFrames(ProbeDuration(path)) * format_.sampleRate / 25;
        // the probe read the file; start over
        input = OpenInput(path, error);
        if (!input) return false;
    } else if (input->duration != AV_NOPTS_VALUE && input->duration > 0 &&
               input->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE) {
        // a length from the header or the timestamps; one guessed from the bit rate proves nothing
        expected_ = av_rescale(input->duration, format_.sampleRate, AV_TIME_BASE);
    }
    // The application's length holds too: a file cut short after it was
    // measured may have a header that says nothing of it (a WAV, an MP3
    // without its own length).
    if (!hasVideo && seconds > 0)
        expected_ = std::max(expected_, int64_t(std::llround(std::min(seconds, 1e7) * format_.sampleRate)));
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

Status AudioEntryReader::Deliver(AVAudioFifo* fifo, uint8_t** data, int64_t n, int64_t* added)
{
    if (limit_ >= 0) n = std::min(n, limit_ - delivered_);
    if (n <= 0) return {};
    if (av_audio_fifo_write(fifo, reinterpret_cast<void**>(data), int(n)) != int(n)) return OutOfMemory();
    delivered_ += n;
    *added += n;
    return {};
}

AudioEntryReader::~AudioEntryReader() { av_channel_layout_uninit(&inLayout_); }

Status AudioEntryReader::Damage(std::string what)
{
    if (damageTold_) return {};
    damageTold_ = true;
    return Status{MCL_ERROR_INPUT_DECODE, "\"" + path_ + "\" " + what};
}

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
    else if (av_channel_layout_copy(&inLayout_, &frame->ch_layout) < 0)
        return false;
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

// Damaged packets left out before this frame become silence of their
// time, so that what follows keeps its place.
bool AudioEntryReader::InjectLeftOut()
{
    // a minute at most: a huge gap comes only from a damaged length
    const double seconds = std::min(decoder_.LeftOut(), 60.0);
    leftOut_ += seconds;
    const auto n = int(std::llround(seconds * inRate_));
    return n <= 0 || swr_inject_silence(resampler_.get(), n) >= 0;
}

Status AudioEntryReader::Convert(AVAudioFifo* fifo, const AVFrame* frame, int64_t* added)
{
    int inCount = frame ? frame->nb_samples : 0;
    int outMax = swr_get_out_samples(resampler_.get(), inCount);
    if (outMax < 0) return Damage("cannot be resampled: " + AvErrorText(outMax));
    if (outMax == 0) return {};
    uint8_t** out = nullptr;
    if (av_samples_alloc_array_and_samples(&out, nullptr, 2, outMax, format_.sampleFormat, 0) < 0)
        return OutOfMemory();
    int got = swr_convert(resampler_.get(), out, outMax,
                          frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr, inCount);
    Status status =
        got < 0 ? Damage("cannot be resampled: " + AvErrorText(got)) : Deliver(fifo, out, got, added);
    av_freep(&out[0]);
    av_freep(&out);
    return status;
}

Status AudioEntryReader::Read(AVAudioFifo* fifo, int64_t wanted, int64_t* added)
{
    const int64_t before = *added;
    auto addedHere = [&] { return *added - before; };
    while (addedHere() < wanted && !ended_) {
        if (limit_ >= 0 && delivered_ >= limit_) {
            ended_ = true;
            break;
        }
        const StreamDecoder::Result r = decoder_.Next(frame_.get());
        if (r == StreamDecoder::Result::End) {
            ended_ = true;
            break;
        }
        if (r == StreamDecoder::Result::Damaged) {
            if (Status s = Damage("cannot be decoded: " + decoder_.Error()); !s.ok()) return s;
            continue;
        }
        // absurd rates or layouts from damaged files would make the resampler huge
        Status s;
        if (frame_->sample_rate <= 0 || frame_->sample_rate > 768000 || frame_->nb_samples <= 0 ||
            frame_->ch_layout.nb_channels > 64)
            s = Damage("holds sound that cannot be played");
        else if (!Configure(frame_.get()))
            s = Damage("holds sound that cannot be resampled");
        else if (!InjectLeftOut())
            s = Damage("holds sound that cannot be resampled");
        else
            s = Convert(fifo, frame_.get(), added);
        av_frame_unref(frame_.get());
        if (!s.ok()) return s;
        // a few damaged frames are bridged unheard; more than half a
        // second of silence is damage the listener hears
        if (leftOut_ > 0.5)
            if (Status d = Damage("cannot be decoded for " + SecondsText(leftOut_) + " seconds"); !d.ok())
                return d;
    }
    if (ended_ && !flushed_) {
        flushed_ = true;
        if (resampler_)
            if (Status s = Convert(fifo, nullptr, added); !s.ok()) return s;
        // the length the album was timed to: a file that stops well short
        // of it is damaged, and the rest becomes silence
        if (limit_ < 0 && expected_ > 0 && expected_ - delivered_ > format_.sampleRate / 2) {
            limit_ = expected_;
            if (Status s =
                    Damage("ends after " + SecondsText(double(delivered_) / format_.sampleRate) + " of its " +
                           SecondsText(double(expected_) / format_.sampleRate) + " seconds");
                !s.ok())
                return s;
        }
    }
    // a video's missing sound is padded as it is asked for: its length comes
    // from the file's header and may be anything
    if (ended_ && limit_ > delivered_ && addedHere() < wanted) {
        int64_t n = std::min(limit_ - delivered_, wanted - addedHere());
        if (Status s = WriteSilence(fifo, format_, n); !s.ok()) return s;
        *added += n;
        delivered_ += n;
    }
    return {};
}

}  // namespace mcl
