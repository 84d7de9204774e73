#include "mcl/video_input.h"

#include <cstdio>
#include <memory>

namespace mcl {
namespace {

// The whole file as a packet.
Packet ReadWholeFile(const std::string& path, std::string* error)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        *error = "Cannot open \"" + path + "\"";
        return {};
    }
    std::fseek(file.get(), 0, SEEK_END);
    long size = std::ftell(file.get());
    std::fseek(file.get(), 0, SEEK_SET);
    if (size <= 0 || size > (1L << 30)) {
        *error = "\"" + path + "\" is empty or too large";
        return {};
    }
    Packet packet = NewPacket();
    if (av_new_packet(packet.get(), int(size)) < 0 ||
        std::fread(packet->data, 1, size_t(size), file.get()) != size_t(size)) {
        *error = "Cannot read \"" + path + "\"";
        return {};
    }
    return packet;
}

}  // namespace

Frame ImageReader::Read(const std::string& path, std::string* error)
{
    Packet data = ReadWholeFile(path, error);
    if (!data) return {};
    if (data->size >= 2 && data->data[0] == 'B' && data->data[1] == 'M') return DecodeBmp(data, error);
    return DecodeFirstPicture(path, error);
}

Frame ImageReader::DecodeBmp(Packet& data, std::string* error)
{
    if (!bmp_) {
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_BMP);
        CodecContext ctx(codec ? avcodec_alloc_context3(codec) : nullptr);
        if (!ctx || avcodec_open2(ctx.get(), codec, nullptr) < 0) {
            *error = "No bitmap decoder";
            return {};
        }
        bmp_ = std::move(ctx);
    }
    Frame frame = NewFrame();
    if (avcodec_send_packet(bmp_.get(), data.get()) < 0 ||
        avcodec_receive_frame(bmp_.get(), frame.get()) < 0) {
        avcodec_flush_buffers(bmp_.get());
        *error = "The bitmap cannot be decoded";
        return {};
    }
    return frame;
}

Frame DecodeFirstPicture(const std::string& path, std::string* error)
{
    InputFormat input = OpenInput(path);
    if (!input) {
        *error = "Cannot open \"" + path + "\"";
        return {};
    }
    const int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    StreamDecoder decoder;
    if (stream < 0 || !decoder.Open(std::move(input), stream)) {
        *error = "\"" + path + "\" holds no picture";
        return {};
    }
    // a damaged start may be followed by a picture that decodes
    Frame frame = NewFrame();
    for (;;) {
        StreamDecoder::Result r = decoder.Next(frame.get());
        if (r == StreamDecoder::Result::Frame) return frame;
        if (r == StreamDecoder::Result::End) break;
    }
    *error = "\"" + path + "\" cannot be decoded";
    return {};
}

bool MediaVideoReader::Open(const std::string& path, std::string* error)
{
    path_ = path;
    InputFormat input = OpenInput(path, error);
    if (!input) return false;
    const int stream = FirstRealVideo(input.get());
    // a couple of frame threads: decoding runs beside the encoding pipeline
    if (stream < 0 || !decoder_.Open(std::move(input), stream, 2)) {
        *error = "\"" + path + "\" holds no readable video stream";
        return false;
    }
    return true;
}

double MediaVideoReader::TimeOf(const AVFrame* f)
{
    AVRational tb = decoder_.Stream()->time_base;
    int64_t ts = f->best_effort_timestamp;
    double t;
    if (ts == AV_NOPTS_VALUE) {
        AVRational rate = decoder_.Stream()->avg_frame_rate;
        t = lastTime_ + (rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 0.04);
    } else {
        t = ts * av_q2d(tb);
    }
    lastTime_ = t;
    if (!started_) {
        started_ = true;
        origin_ = t;
    }
    return t - origin_;
}

Frame MediaVideoReader::DecodeNext(std::string* error)
{
    Frame frame = NewFrame();
    if (!frame) {
        *error = "Out of memory for \"" + path_ + "\"";
        return {};
    }
    for (;;) {
        switch (decoder_.Next(frame.get())) {
        case StreamDecoder::Result::Frame: return frame;
        case StreamDecoder::Result::End: return {};
        case StreamDecoder::Result::Damaged:
            if (damageTold_) continue;
            damageTold_ = true;
            *error = "\"" + path_ + "\" cannot be decoded: " + decoder_.Error();
            return {};
        }
    }
}

Frame MediaVideoReader::FrameAt(int64_t k, std::string* error)
{
    const double t = double(k) * 0.04 + 0.001;
    for (;;) {
        if (!pending_) {
            std::string damage;
            pending_ = DecodeNext(&damage);
            if (!damage.empty()) {
                *error = damage;
                return {};
            }
            if (!pending_) break;
            pendingTime_ = TimeOf(pending_.get());
        }
        if (!current_ || pendingTime_ <= t) {
            current_ = std::move(pending_);
            currentTime_ = pendingTime_;
            continue;
        }
        break;
    }
    if (!current_) return {};
    return RefFrame(current_.get());
}

}  // namespace mcl
