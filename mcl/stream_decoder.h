// One stream of a media file, decoded: the file's packets are read, that
// stream's are handed to its decoder, and the decoder is drained at the end
// of the file. The audio and video inputs take their frames from it.
#pragma once

#include <string>

#include "mcl/ff.h"

namespace mcl {

class StreamDecoder {
public:
    // Takes the opened input and opens a decoder for its stream `stream`; the
    // other streams are not read. threads > 0 sets the decoder's thread count.
    bool Open(InputFormat input, int stream, int threads = 0);
    explicit operator bool() const { return decoder_ != nullptr; }
    const AVCodecContext* Codec() const { return decoder_.get(); }
    const AVStream* Stream() const { return input_->streams[stream_]; }

    enum class Result {
        Frame,    // `frame` holds the next decoded frame
        Damaged,  // the file could not be read or decoded here (Error() says why);
                  // the next call goes on past the damage
        End,      // the stream is over
    };
    Result Next(AVFrame* frame);
    const std::string& Error() const { return error_; }

private:
    Result Damaged(const char* what, int err);

    InputFormat input_;
    CodecContext decoder_;
    int stream_ = -1;
    Packet packet_ = NewPacket();
    bool ended_ = false, draining_ = false;
    int failuresInARow_ = 0;  // decoding failures with no packet read between them
    std::string error_;
};

}  // namespace mcl
