// Pictures from the video list's entries, read on the caller's thread.
#pragma once

#include <string>

#include "mcl/ff.h"
#include "mcl/stream_decoder.h"

namespace mcl {

// Reads a still picture, from the file's current content every time.
class ImageReader {
public:
    Frame Read(const std::string& path, std::string* error);

private:
    Frame DecodeBmp(Packet& data, std::string* error);
    CodecContext bmp_;
};

// The frames of a video file on the 25-fps timeline: timeline frame k shows
// the last decoded frame that starts at or before k * 0.04 s; after the end
// the last frame is held.
class MediaVideoReader {
public:
    bool Open(const std::string& path, std::string* error);
    int Width() const { return decoder_ ? decoder_.Codec()->width : 0; }
    int Height() const { return decoder_ ? decoder_.Codec()->height : 0; }
    // A reference to the picture of timeline frame k (k never decreases);
    // empty when the file yields no picture at all. Empty with *error set
    // where the file is first found damaged (told once per file): the next
    // call goes on past the damage.
    Frame FrameAt(int64_t k, std::string* error);

private:
    Frame DecodeNext(std::string* error);
    double TimeOf(const AVFrame* f);

    std::string path_;
    StreamDecoder decoder_;
    bool damageTold_ = false;
    Frame current_, pending_;
    double currentTime_ = 0, pendingTime_ = 0;
    bool started_ = false;
    double origin_ = 0, lastTime_ = 0;
};

// Decodes the first picture of any file FFmpeg can read.
Frame DecodeFirstPicture(const std::string& path, std::string* error);

}  // namespace mcl
