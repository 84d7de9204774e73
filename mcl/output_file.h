// The output file: muxer, video and audio encoders. Opened on the caller's
// thread, then written from the encoding worker only.
#pragma once

#include <cstdint>
#include <string>

#include "mcl/ff.h"
#include "mcl/presets.h"

namespace mcl {

struct Status {
    Status() = default;
    Status(int32_t code_, std::string text_, int systemCode_ = 0, std::string file_ = {})
        : code(code_), text(std::move(text_)), systemCode(systemCode_), file(std::move(file_))
    {}
    int32_t code = 0;  // an MCL_ERROR_* value, 0 = fine
    std::string text;
    int systemCode = 0;  // the errno behind it, 0 = none known
    std::string file;    // the file it concerns, empty = none
    bool ok() const { return code == 0; }
};

// The errno an FFmpeg error code carries, or 0 for FFmpeg's own codes.
int SystemCodeOf(int averror);

struct AudioFormat {
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_S16;
    int sampleRate = 44100;
    int frameSize = 1152;
    bool smallLastFrame = false;  // the encoder takes a short final frame
};

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Creates the file and writes the header; width and height are used when
    // the settings leave the size open.
    Status Open(const OutputSettings& settings, const std::string& path, int width, int height);

    int Width() const { return video_ ? video_->width : 0; }
    int Height() const { return video_ ? video_->height : 0; }
    AVRational FrameRate() const { return settings_.frameRate; }
    AudioFormat Audio() const { return audioFormat_; }

    // Scales the picture to the output size and encodes it as `count` frames
    // from output frame `pts` on: ScaleVideo, then EncodeVideo. The two may
    // run on different threads, each always on the same one.
    Status WriteVideo(const AVFrame* picture, int64_t pts, int64_t count);
    Status ScaleVideo(const AVFrame* picture, Frame* scaled);
    Status EncodeVideo(const AVFrame* scaled, int64_t pts, int64_t count);
    // Encodes samples in the audio encoder's format; pts in samples.
    Status WriteAudio(AVFrame* samples);
    // Flushes the encoders, writes the trailer and closes the file; runs
    // once, also after a failed write.
    Status Finish();

private:
    Status Encode(AVCodecContext* ctx, AVStream* stream, const AVFrame* frame);
    Status OpenVideo(int width, int height);
    Status OpenAudio();

    OutputSettings settings_;
    std::string path_;
    AVFormatContext* muxer_ = nullptr;
    CodecContext video_, audio_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    SwsContext* scaler_ = nullptr;
    PictureSize scalerFrom_;  // what scaler_ converts
    int scalerFormat_ = -1;
    Packet packet_ = NewPacket();
    AudioFormat audioFormat_;
    bool headerWritten_ = false;
    bool finished_ = false;
};

}  // namespace mcl
