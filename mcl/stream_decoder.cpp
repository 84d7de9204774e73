#include "mcl/stream_decoder.h"

namespace mcl {

bool StreamDecoder::Open(InputFormat input, int stream, int threads)
{
    if (!input || stream < 0 || unsigned(stream) >= input->nb_streams) return false;
    const AVCodecParameters* par = input->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    CodecContext ctx(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!ctx || avcodec_parameters_to_context(ctx.get(), par) < 0) return false;
    if (threads > 0) ctx->thread_count = threads;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return false;
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (int(i) != stream) input->streams[i]->discard = AVDISCARD_ALL;
    input_ = std::move(input);
    decoder_ = std::move(ctx);
    stream_ = stream;
    ended_ = draining_ = false;
    return true;
}

bool StreamDecoder::Next(AVFrame* frame)
{
    while (!ended_) {
        int r = avcodec_receive_frame(decoder_.get(), frame);
        if (r >= 0) return true;
        if (r != AVERROR(EAGAIN) || draining_) {
            ended_ = true;
            break;
        }
        r = av_read_frame(input_.get(), packet_.get());
        if (r < 0) {
            draining_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == stream_) avcodec_send_packet(decoder_.get(), packet_.get());
        av_packet_unref(packet_.get());
    }
    return false;
}

}  // namespace mcl
