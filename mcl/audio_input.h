// Samples from one entry of the audio list, resampled to the output's rate
// and format in stereo.
#pragma once

#include <string>

#include "mcl/ff.h"
#include "mcl/output_file.h"
#include "mcl/stream_decoder.h"

namespace mcl {

// Appends n samples of silence.
void WriteSilence(AVAudioFifo* fifo, const AudioFormat& format, int64_t n);

class AudioEntryReader {
public:
    explicit AudioEntryReader(const AudioFormat& format) : format_(format) {}
    AudioEntryReader(const AudioEntryReader&) = delete;
    AudioEntryReader& operator=(const AudioEntryReader&) = delete;
    ~AudioEntryReader();

    // A file with a video stream contributes exactly its timeline frames'
    // length (trimmed or padded, silence when it has no sound); an audio
    // file all its samples.
    bool Open(const std::string& path, std::string* error);

    // Appends up to `wanted` samples (or a little more) to fifo; returns how
    // many, 0 once the entry is Done().
    int64_t Read(AVAudioFifo* fifo, int64_t wanted);
    bool Done() const { return ended_ && flushed_ && (limit_ < 0 || delivered_ >= limit_); }

private:
    int64_t Deliver(AVAudioFifo* fifo, uint8_t** data, int64_t n);
    bool Configure(const AVFrame* frame);
    int64_t Convert(AVAudioFifo* fifo, const AVFrame* frame);

    AudioFormat format_;
    StreamDecoder decoder_;
    Resampler resampler_;
    int inRate_ = 0, inFormat_ = -1;
    AVChannelLayout inLayout_{};
    int64_t limit_ = -1;  // samples this entry contributes, -1: until its end
    int64_t delivered_ = 0;
    bool ended_ = false, flushed_ = false;
    Frame frame_ = NewFrame();
};

}  // namespace mcl
