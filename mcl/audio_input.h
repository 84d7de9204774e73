// Samples from one entry of the audio list, resampled to the output's rate
// and format in stereo.
#pragma once

#include <string>

#include "mcl/ff.h"
#include "mcl/output_file.h"
#include "mcl/stream_decoder.h"

namespace mcl {

// Appends n samples of silence; fails (MCL_ERROR_ENCODER) when the samples
// cannot be buffered.
Status WriteSilence(AVAudioFifo* fifo, const AudioFormat& format, int64_t n);

class AudioEntryReader {
public:
    explicit AudioEntryReader(const AudioFormat& format) : format_(format) {}
    AudioEntryReader(const AudioEntryReader&) = delete;
    AudioEntryReader& operator=(const AudioEntryReader&) = delete;
    ~AudioEntryReader();

    // A file with a video stream contributes exactly its timeline frames'
    // length (trimmed or padded, silence when it has no sound); an audio
    // file all its samples. seconds: the audio file's length as the
    // application knows it (0: none), held against its sound as its
    // header's length is.
    bool Open(const std::string& path, double seconds, std::string* error);

    // Appends up to `wanted` samples (or a little more) to fifo and adds
    // their number to *added, 0 once the entry is Done(). Damage in the file,
    // or an audio file ending well before its length, is an input error
    // (MCL_ERROR_INPUT_DECODE), told once per entry: the next Read goes on
    // past the damage, and the missing end becomes silence, so that the
    // entries after it keep their places. Samples that cannot be buffered
    // fail the run (MCL_ERROR_ENCODER).
    Status Read(AVAudioFifo* fifo, int64_t wanted, int64_t* added);
    bool Done() const { return ended_ && flushed_ && (limit_ < 0 || delivered_ >= limit_); }

private:
    Status Deliver(AVAudioFifo* fifo, uint8_t** data, int64_t n, int64_t* added);
    bool Configure(const AVFrame* frame);
    bool InjectLeftOut();
    Status Convert(AVAudioFifo* fifo, const AVFrame* frame, int64_t* added);
    Status Damage(std::string what);

    AudioFormat format_;
    std::string path_;
    StreamDecoder decoder_;
    Resampler resampler_;
    int inRate_ = 0, inFormat_ = -1;
    AVChannelLayout inLayout_{};
    int64_t limit_ = -1;     // samples this entry contributes, -1: until its end
    int64_t expected_ = -1;  // an audio file's samples by its header or the application, -1: unknown
    int64_t delivered_ = 0;
    bool ended_ = false, flushed_ = false;
    bool damageTold_ = false;
    double leftOut_ = 0;  // seconds of damaged packets bridged with silence
    Frame frame_ = NewFrame();
};

}  // namespace mcl
