#include "mcl/output_file.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/cpu.h>
}

#include "mcl/mcl.h"
#include "mcl/thread_share.h"

namespace mcl {
namespace {

Status Fail(int32_t code, std::string text) { return Status{code, std::move(text)}; }

// A failure of the output file itself: its errno and its name go with it.
Status FailOutput(const std::string& path, std::string text, int averror)
{
    return Status{MCL_ERROR_OUTPUT, std::move(text) + ": " + AvErrorText(averror), SystemCodeOf(averror),
                  path};
}

// The filter for the job: a picture rendered at twice the size is brought
// down by the mean of each 2 x 2 block; else bicubic (at the same size only
// the halved chroma is filtered).
int ScaleFilter(int fromWidth, int fromHeight, int toWidth, int toHeight)
{
    if (fromWidth == 2 * toWidth && fromHeight == 2 * toHeight) return SWS_AREA;
    return SWS_BICUBIC;
}

// A converter split over a few threads: it runs beside the renderer and the
// encoder, which have most of the cores.
SwsContext* NewScaler(int fromWidth, int fromHeight, AVPixelFormat from, int toWidth, int toHeight,
                      AVPixelFormat to)
{
    SwsContext* scaler = sws_alloc_context();
    if (!scaler) return nullptr;
    av_opt_set_int(scaler, "srcw", fromWidth, 0);
    av_opt_set_int(scaler, "srch", fromHeight, 0);
    av_opt_set_int(scaler, "src_format", from, 0);
    av_opt_set_int(scaler, "dstw", toWidth, 0);
    av_opt_set_int(scaler, "dsth", toHeight, 0);
    av_opt_set_int(scaler, "dst_format", to, 0);
    av_opt_set_int(scaler, "sws_flags", ScaleFilter(fromWidth, fromHeight, toWidth, toHeight), 0);
    av_opt_set_int(scaler, "threads", std::clamp(av_cpu_count() / 4, 1, 4), 0);
    if (sws_init_context(scaler, nullptr, nullptr) < 0) {
        sws_freeContext(scaler);
        return nullptr;
    }
    return scaler;
}

}  // namespace

int SystemCodeOf(int averror)
{
    // AVERROR(e) is -e; FFmpeg's own codes are tags far below any errno.
    return averror < 0 && averror > -4096 ? -averror : 0;
}

OutputFile::~OutputFile()
{
    if (muxer_) {
        if (!(muxer_->oformat->flags & AVFMT_NOFILE)) avio_closep(&muxer_->pb);
        avformat_free_context(muxer_);
    }
    sws_freeContext(scaler_);
}

Status OutputFile::Open(const OutputSettings& settings, const std::string& path, int width, int height)
{
    settings_ = settings;
    path_ = path;
    const AVOutputFormat* format = av_guess_format(settings.muxer.c_str(), nullptr, nullptr);
    if (!format || avformat_alloc_output_context2(&muxer_, format, nullptr, path.c_str()) < 0 || !muxer_)
        return Fail(MCL_ERROR_OUTPUT, "Output format \"" + settings.muxer + "\" is not available");
    if (settings.packetSize > 0) muxer_->packet_size = settings.packetSize;
    muxer_->max_delay = 700000;
    if (settings.muxRate > 0) av_opt_set_int(muxer_->priv_data, "muxrate", settings.muxRate, 0);
    if (settings.preloadUs >= 0) av_opt_set_int(muxer_->priv_data, "preload", settings.preloadUs, 0);

    if (Status s = OpenVideo(width, height); !s.ok()) return s;
    if (Status s = OpenAudio(); !s.ok()) return s;

    if (!(format->flags & AVFMT_NOFILE)) {
        int r = avio_open(&muxer_->pb, path.c_str(), AVIO_FLAG_WRITE);
        if (r < 0) return FailOutput(path, "Cannot create \"" + path + "\"", r);
    }
    AVDictionary* options = nullptr;
    if (settings.fastStart) av_dict_set(&options, "movflags", "+faststart", 0);
    int r = avformat_write_header(muxer_, &options);
    av_dict_free(&options);
    if (r < 0) return FailOutput(path, "Cannot write \"" + path + "\"", r);
    headerWritten_ = true;
    return {};
}

Status OutputFile::OpenVideo(int width, int height)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(settings_.videoCodec.c_str());
    if (!codec)
        return Fail(MCL_ERROR_ENCODER, "Video encoder \"" + settings_.videoCodec + "\" is not available");
    video_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* c = video_.get();
    c->width = settings_.width > 0 ? settings_.width : width;
    c->height = settings_.height > 0 ? settings_.height : height;
    c->width = std::max(2, c->width & ~1);
    c->height = std::max(2, c->height & ~1);
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->framerate = settings_.frameRate;
    c->time_base = av_inv_q(settings_.frameRate);
    c->sample_aspect_ratio = FourByThreeAspect(c->width, c->height);
    c->gop_size = settings_.gop;
    if (settings_.bitRate > 0) c->bit_rate = settings_.bitRate;
    if (settings_.maxRate > 0) c->rc_max_rate = settings_.maxRate;
    if (settings_.minRate > 0) c->rc_min_rate = settings_.minRate;
    if (settings_.bufferSize > 0) c->rc_buffer_size = settings_.bufferSize;
    if (settings_.maxBFrames >= 0) c->max_b_frames = settings_.maxBFrames;
    if (settings_.qscale > 0) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = FF_QP2LAMBDA * settings_.qscale;
    }
    // Slice threads, at most one per macroblock row.
    c->thread_count = settings_.videoCodec == "libx264"
                          ? 0
                          : std::clamp(EncoderThreads(av_cpu_count()), 1, std::max(1, (c->height + 15) / 16));
    if (muxer_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (settings_.crf > 0) av_dict_set_int(&options, "crf", settings_.crf, 0);
    if (settings_.scanOffset) av_dict_set_int(&options, "scan_offset", 1, 0);
    int r = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    if (r < 0) return Fail(MCL_ERROR_ENCODER, "Cannot open the video encoder: " + AvErrorText(r));

    videoStream_ = avformat_new_stream(muxer_, nullptr);
    if (!videoStream_) return Fail(MCL_ERROR_OUTPUT, "Cannot add the video stream");
    r = avcodec_parameters_from_context(videoStream_->codecpar, c);
    if (r < 0) return Fail(MCL_ERROR_OUTPUT, "Cannot describe the video stream: " + AvErrorText(r));
    if (settings_.codecTag) videoStream_->codecpar->codec_tag = settings_.codecTag;
    videoStream_->time_base = c->time_base;
    videoStream_->avg_frame_rate = settings_.frameRate;
    videoStream_->r_frame_rate = settings_.frameRate;
    videoStream_->sample_aspect_ratio = c->sample_aspect_ratio;
    // the encoder's buffer properties tell the muxer the VBV size
    for (int i = 0; i < c->nb_coded_side_data; ++i) {
        const AVPacketSideData& side = c->coded_side_data[i];
        if (uint8_t* data = av_stream_new_side_data(videoStream_, side.type, side.size))
            std::memcpy(data, side.data, side.size);
    }
    return {};
}

Status OutputFile::OpenAudio()
{
    const AVCodec* codec = avcodec_find_encoder_by_name(settings_.audioCodec.c_str());
    if (!codec)
        return Fail(MCL_ERROR_ENCODER, "Audio encoder \"" + settings_.audioCodec + "\" is not available");
    audio_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* c = audio_.get();
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->sample_rate = settings_.sampleRate;
    av_channel_layout_default(&c->ch_layout, 2);
    c->bit_rate = settings_.audioBitRate;
    c->time_base = AVRational{1, settings_.sampleRate};
    if (muxer_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int r = avcodec_open2(c, codec, nullptr);
    if (r < 0) return Fail(MCL_ERROR_ENCODER, "Cannot open the audio encoder: " + AvErrorText(r));

    audioStream_ = avformat_new_stream(muxer_, nullptr);
    if (!audioStream_) return Fail(MCL_ERROR_OUTPUT, "Cannot add the audio stream");
    r = avcodec_parameters_from_context(audioStream_->codecpar, c);
    if (r < 0) return Fail(MCL_ERROR_OUTPUT, "Cannot describe the audio stream: " + AvErrorText(r));
    audioStream_->time_base = c->time_base;

    audioFormat_.sampleFormat = c->sample_fmt;
    audioFormat_.sampleRate = c->sample_rate;
    audioFormat_.frameSize = c->frame_size > 0 ? c->frame_size : 1024;
    audioFormat_.smallLastFrame = (codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
    return {};
}

Status OutputFile::Encode(AVCodecContext* ctx, AVStream* stream, const AVFrame* frame)
{
    int r = avcodec_send_frame(ctx, frame);
    if (r < 0 && r != AVERROR_EOF) return Fail(MCL_ERROR_ENCODER, "Encoding failed: " + AvErrorText(r));
    for (;;) {
        r = avcodec_receive_packet(ctx, packet_.get());
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return {};
        if (r < 0) return Fail(MCL_ERROR_ENCODER, "Encoding failed: " + AvErrorText(r));
        av_packet_rescale_ts(packet_.get(), ctx->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        r = av_interleaved_write_frame(muxer_, packet_.get());
        if (r < 0) return FailOutput(path_, "Writing the output failed", r);
    }
}

Status OutputFile::WriteVideo(const AVFrame* picture, int64_t pts, int64_t count)
{
    if (count <= 0) return {};
    Frame scaled;
    if (Status s = ScaleVideo(picture, &scaled); !s.ok()) return s;
    return EncodeVideo(scaled.get(), pts, count);
}

Status OutputFile::ScaleVideo(const AVFrame* picture, Frame* scaled)
{
    AVCodecContext* c = video_.get();
    if (!scaler_ || scalerFrom_.width != picture->width || scalerFrom_.height != picture->height ||
        scalerFormat_ != picture->format) {
        sws_freeContext(scaler_);
        scaler_ = NewScaler(picture->width, picture->height, AVPixelFormat(picture->format), c->width,
                            c->height, c->pix_fmt);
        scalerFrom_ = {picture->width, picture->height};
        scalerFormat_ = picture->format;
    }
    if (!scaler_) return Fail(MCL_ERROR_ENCODER, "Cannot convert the picture");
    Frame out = NewFrame();
    out->format = c->pix_fmt;
    out->width = c->width;
    out->height = c->height;
    if (av_frame_get_buffer(out.get(), 0) < 0) return Fail(MCL_ERROR_ENCODER, "Out of memory");
    if (sws_scale_frame(scaler_, out.get(), picture) < 0)
        return Fail(MCL_ERROR_ENCODER, "Cannot convert the picture");
    out->sample_aspect_ratio = c->sample_aspect_ratio;
    *scaled = std::move(out);
    return {};
}

Status OutputFile::EncodeVideo(const AVFrame* scaled, int64_t pts, int64_t count)
{
    for (int64_t k = 0; k < count; ++k) {
        Frame frame = RefFrame(scaled);
        frame->pts = pts + k;
        if (Status s = Encode(video_.get(), videoStream_, frame.get()); !s.ok()) return s;
    }
    return {};
}

Status OutputFile::WriteAudio(AVFrame* samples) { return Encode(audio_.get(), audioStream_, samples); }

Status OutputFile::Finish()
{
    if (finished_ || !headerWritten_) return {};
    finished_ = true;
    Status first = Encode(video_.get(), videoStream_, nullptr);
    Status audio = Encode(audio_.get(), audioStream_, nullptr);
    if (first.ok()) first = audio;
    int r = av_write_trailer(muxer_);
    if (r < 0 && first.ok()) first = FailOutput(path_, "Writing the output failed", r);
    if (!(muxer_->oformat->flags & AVFMT_NOFILE)) {
        r = avio_closep(&muxer_->pb);
        if (r < 0 && first.ok()) first = FailOutput(path_, "Closing the output failed", r);
    }
    return first;
}

}  // namespace mcl
