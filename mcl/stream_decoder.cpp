#include "mcl/stream_decoder.h"

#include <algorithm>

namespace mcl {
namespace {

// A decoder that keeps failing without being given more input would fail for ever.
constexpr int kMaxFailuresInARow = 16;

}  // namespace

bool StreamDecoder::Open(InputFormat input, int stream, int threads)
{
    if (!input || stream < 0 || unsigned(stream) >= input->nb_streams) return false;
    const AVCodecParameters* par = input->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    CodecContext ctx(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!ctx || !packet_ || avcodec_parameters_to_context(ctx.get(), par) < 0) return false;
    if (threads > 0) ctx->thread_count = threads;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return false;
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (int(i) != stream) input->streams[i]->discard = AVDISCARD_ALL;
    input_ = std::move(input);
    decoder_ = std::move(ctx);
    stream_ = stream;
    ended_ = draining_ = false;
    failuresInARow_ = 0;
    lostTicks_ = 0;
    leftOut_ = 0;
    return true;
}

int64_t StreamDecoder::DamagedPacketTicks(const AVPacket& packet) const
{
    int64_t bytes = 0, ticks = 0;
    for (int i = 0; i < kRecentPackets; ++i) {
        bytes += recentBytes_[i];
        ticks += recentTicks_[i];
    }
    const int64_t own = std::max<int64_t>(packet.duration, 0);
    if (bytes <= 0 || ticks <= 0 || packet.size <= 0) return own;
    return std::max(own, av_rescale(packet.size, ticks, bytes));
}

void StreamDecoder::NoteGoodPacket(const AVPacket& packet)
{
    if (packet.duration <= 0 || packet.size <= 0) return;
    recentBytes_[recentNext_] = packet.size;
    recentTicks_[recentNext_] = packet.duration;
    recentNext_ = (recentNext_ + 1) % kRecentPackets;
}

StreamDecoder::Result StreamDecoder::Damaged(const char* what, int err)
{
    error_ = std::string(what) + AvErrorText(err);
    return Result::Damaged;
}

StreamDecoder::Result StreamDecoder::Next(AVFrame* frame)
{
    while (!ended_) {
        int r = avcodec_receive_frame(decoder_.get(), frame);
        if (r >= 0) {
            failuresInARow_ = 0;
            leftOut_ = double(lostTicks_) * av_q2d(Stream()->time_base);
            lostTicks_ = 0;
            return Result::Frame;
        }
        if (r == AVERROR_EOF || (r == AVERROR(EAGAIN) && draining_)) {
            ended_ = true;
            break;
        }
        if (r != AVERROR(EAGAIN)) {
            if (++failuresInARow_ >= kMaxFailuresInARow) {
                ended_ = true;
                return Damaged("decoding failed: ", r);
            }
            // A damaged packet is left out, as players do: many files that play
            // well end in junk after their last frame. A loss that matters
            // shortens the stream, which its reader can tell from its length.
            if (r == AVERROR_INVALIDDATA) continue;
            return Damaged("decoding failed: ", r);
        }
        r = av_read_frame(input_.get(), packet_.get());
        if (r < 0) {
            // a read error ends the file as its end does: what the decoder holds still comes out
            draining_ = true;
            const int flushed = avcodec_send_packet(decoder_.get(), nullptr);
            if (r != AVERROR_EOF) return Damaged("reading failed: ", r);
            if (flushed < 0 && flushed != AVERROR_EOF) return Damaged("decoding failed: ", flushed);
            continue;
        }
        failuresInARow_ = 0;
        const bool ours = packet_->stream_index == stream_;
        r = ours ? avcodec_send_packet(decoder_.get(), packet_.get()) : 0;
        // A damaged packet that is left out keeps its time: the frames after
        // it stay where they belong (only a later frame tells, so junk after
        // the last frame costs nothing).
        if (ours && r == AVERROR_INVALIDDATA) lostTicks_ += DamagedPacketTicks(*packet_);
        if (ours && r >= 0) NoteGoodPacket(*packet_);
        av_packet_unref(packet_.get());
        if (r < 0 && r != AVERROR_INVALIDDATA) return Damaged("decoding failed: ", r);
    }
    return Result::End;
}

}  // namespace mcl
