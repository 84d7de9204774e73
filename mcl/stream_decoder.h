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
    // The stream's time, in seconds, of the damaged packets left out just
    // before the frame Next gave last; 0 when none were.
    double LeftOut() const { return leftOut_; }

private:
    Result Damaged(const char* what, int err);
    // How much of the stream's time a damaged packet held: its own duration,
    // or more when its bytes are worth more at the rate of the good packets
    // before it (damage can merge frames into one packet).
    int64_t DamagedPacketTicks(const AVPacket& packet) const;
    void NoteGoodPacket(const AVPacket& packet);

    InputFormat input_;
    CodecContext decoder_;
    int stream_ = -1;
    Packet packet_ = NewPacket();
    bool ended_ = false, draining_ = false;
    int failuresInARow_ = 0;  // decoding failures with no packet read between them
    // The recent good packets of the stream: their bytes and their time.
    static constexpr int kRecentPackets = 8;
    int64_t recentBytes_[kRecentPackets] = {}, recentTicks_[kRecentPackets] = {};
    int recentNext_ = 0;
    int64_t lostTicks_ = 0;  // left out since the last frame
    double leftOut_ = 0;
    std::string error_;
};

}  // namespace mcl
