#include "tests/mcl/media_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace mcltest {

TempDir::TempDir()
{
    std::random_device rd;
    path_ =
        std::filesystem::temp_directory_path() / ("mcltest-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

namespace {

template <class PixelAt>
void WriteBmpOf(const std::filesystem::path& path, int width, int height, PixelAt pixel)
{
    const int stride = (width * 3 + 3) & ~3;
    const uint32_t imageSize = uint32_t(stride * height);
    std::vector<uint8_t> file(54 + imageSize, 0);
    auto put16 = [&](size_t at, uint16_t v) {
        file[at] = uint8_t(v);
        file[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb colour = pixel(x, y);
            uint8_t* p = &file[54 + size_t(y) * stride + size_t(x) * 3];
            p[0] = colour.b;
            p[1] = colour.g;
            p[2] = colour.r;
        }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

}  // namespace

void WriteBmp(const std::filesystem::path& path, int width, int height, Rgb colour)
{
    WriteBmpOf(path, width, height, [colour](int, int) { return colour; });
}

void WriteTilesBmp(const std::filesystem::path& path, int width, int height, int tile, unsigned seed)
{
    std::minstd_rand random(seed);
    const int columns = (width + tile - 1) / tile;
    std::vector<Rgb> colours(size_t(columns) * size_t((height + tile - 1) / tile));
    for (Rgb& c : colours) {
        const auto v = random();
        c = Rgb{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)};
    }
    WriteBmpOf(path, width, height,
               [&](int x, int y) { return colours[size_t(y / tile) * size_t(columns) + size_t(x / tile)]; });
}

bool RunFfmpeg(const std::string& arguments)
{
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void MakeTone(const std::filesystem::path& path, double seconds, int rate)
{
    std::string args = "-f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(rate) +
                       ":duration=" + std::to_string(seconds) + " -ac 2 \"" + path.string() + "\"";
    if (!RunFfmpeg(args)) throw std::runtime_error("ffmpeg could not make " + path.string());
}

void WriteToneWav(const std::filesystem::path& path, double seconds, int rate)
{
    const auto frames = uint32_t(seconds * rate);
    std::vector<uint8_t> file(44 + size_t(frames) * 4);
    auto put16 = [&](size_t at, uint16_t v) {
        file[at] = uint8_t(v);
        file[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
    };
    std::memcpy(&file[0], "RIFF", 4);
    put32(4, uint32_t(file.size() - 8));
    std::memcpy(&file[8], "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 2);
    put32(24, uint32_t(rate));
    put32(28, uint32_t(rate) * 4);
    put16(32, 4);
    put16(34, 16);
    std::memcpy(&file[36], "data", 4);
    put32(40, frames * 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto v = uint16_t(int16_t(9000 * std::sin(2 * M_PI * 440 * i / rate)));
        put16(44 + size_t(i) * 4, v);
        put16(46 + size_t(i) * 4, v);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

void MakeVideo(const std::filesystem::path& path, double seconds, int fps, bool withAudio)
{
    std::string args = "-f lavfi -i testsrc=size=160x120:rate=" + std::to_string(fps) +
                       ":duration=" + std::to_string(seconds);
    if (withAudio)
        args += " -f lavfi -i sine=frequency=300:sample_rate=44100:duration=" + std::to_string(seconds) +
                " -ac 2";
    args += " -c:v mpeg4 -q:v 5";
    if (withAudio) args += " -c:a mp2";
    args += " -f avi \"" + path.string() + "\"";
    if (!RunFfmpeg(args)) throw std::runtime_error("ffmpeg could not make " + path.string());
}

namespace {

Rgb CentreColour(const AVFrame* f)
{
    SwsContext* sws = sws_getContext(f->width, f->height, AVPixelFormat(f->format), f->width, f->height,
                                     AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
    std::vector<uint8_t> rgb(size_t(f->width) * f->height * 3);
    uint8_t* dst[4] = {rgb.data()};
    int lines[4] = {f->width * 3};
    sws_scale(sws, f->data, f->linesize, 0, f->height, dst, lines);
    sws_freeContext(sws);
    long sum[3] = {};
    long n = 0;
    for (int y = f->height / 4; y < f->height * 3 / 4; ++y)
        for (int x = f->width / 4; x < f->width * 3 / 4; ++x, ++n)
            for (int c = 0; c < 3; ++c) sum[c] += rgb[(size_t(y) * f->width + x) * 3 + c];
    return Rgb{uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)};
}

}  // namespace

StreamFacts ReadBack(const std::filesystem::path& path, bool colours)
{
    StreamFacts facts;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return facts;
    avformat_find_stream_info(fmt, nullptr);
    facts.container = fmt->iformat->name;
    int vs = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    int as = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    AVCodecContext* vdec = nullptr;
    AVCodecContext* adec = nullptr;
    if (vs >= 0) {
        AVStream* s = fmt->streams[vs];
        facts.videoCodec = avcodec_get_name(s->codecpar->codec_id);
        facts.videoTag = s->codecpar->codec_tag;
        facts.width = s->codecpar->width;
        facts.height = s->codecpar->height;
        AVRational rate = s->avg_frame_rate.num ? s->avg_frame_rate : s->r_frame_rate;
        facts.frameRate = av_q2d(rate);
        AVRational sar =
            s->codecpar->sample_aspect_ratio.num ? s->codecpar->sample_aspect_ratio : AVRational{1, 1};
        facts.displayAspect = av_q2d(sar) * facts.width / facts.height;
        const AVCodec* codec = avcodec_find_decoder(s->codecpar->codec_id);
        vdec = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(vdec, s->codecpar);
        avcodec_open2(vdec, codec, nullptr);
    }
    if (as >= 0) {
        AVStream* s = fmt->streams[as];
        facts.audioCodec = avcodec_get_name(s->codecpar->codec_id);
        facts.sampleRate = s->codecpar->sample_rate;
        facts.channels = s->codecpar->ch_layout.nb_channels;
        const AVCodec* codec = avcodec_find_decoder(s->codecpar->codec_id);
        adec = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(adec, s->codecpar);
        avcodec_open2(adec, codec, nullptr);
    }
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int64_t audioSamples = 0;
    auto drain = [&](AVCodecContext* dec, bool video) {
        while (avcodec_receive_frame(dec, frame) >= 0) {
            if (video) {
                ++facts.videoFrames;
                if (colours) facts.frameColours.push_back(CentreColour(frame));
            } else {
                audioSamples += frame->nb_samples;
            }
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(fmt, pkt) >= 0) {
        AVCodecContext* dec = pkt->stream_index == vs ? vdec : pkt->stream_index == as ? adec : nullptr;
        if (dec) {
            if (avcodec_send_packet(dec, pkt) < 0) ++facts.decodeErrors;
            drain(dec, dec == vdec);
        }
        av_packet_unref(pkt);
    }
    for (AVCodecContext* dec : {vdec, adec})
        if (dec) {
            avcodec_send_packet(dec, nullptr);
            drain(dec, dec == vdec);
        }
    if (facts.frameRate > 0) facts.videoSeconds = facts.videoFrames / facts.frameRate;
    if (facts.sampleRate > 0) facts.audioSeconds = double(audioSamples) / facts.sampleRate;
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&vdec);
    avcodec_free_context(&adec);
    avformat_close_input(&fmt);
    return facts;
}

namespace {

thread_local Job* t_job = nullptr;
thread_local MclList* t_videoList = nullptr;
thread_local MclList* t_audioList = nullptr;
std::thread::id g_callerThread;

void Note(const std::string& event)
{
    t_job->events.push_back(event);
    if (std::this_thread::get_id() != g_callerThread) t_job->allOnCallerThread = false;
}

void Answer(MclList* list, MclSource* source, int32_t index)
{
    char name[264];
    if (MclListGetName(list, index, name, sizeof name))
        MclSourceSetFile(source, name);
    else
        MclSourceFinished(source);
}

}  // namespace

void Job::Run()
{
    // callbacks on another thread would find no job here and crash the test
    t_job = this;
    g_callerThread = std::this_thread::get_id();
    MclConverter* c = MclCreate();
    MclAssignVideoSource(c, [](MclSource* s, int32_t i) {
        Note("vsource:" + std::to_string(i));
        Answer(t_videoList, s, i);
    });
    MclAssignVideoFunc(c, [](MclConverter* conv, int64_t frame, int32_t) {
        Note("video:" + std::to_string(frame));
        if (t_job->onVideo) t_job->onVideo(conv, frame);
    });
    MclAssignAudioSource(c, [](MclSource* s, int32_t i) {
        Note("asource:" + std::to_string(i));
        Answer(t_audioList, s, i);
        if (i >= 0 && size_t(i) < t_job->audioSeconds.size())
            MclSourceSetLength(s, t_job->audioSeconds[size_t(i)]);
    });
    MclAssignAudioFunc(c, [](MclConverter*, int64_t, int32_t) {
        if (std::this_thread::get_id() != g_callerThread) t_job->allOnCallerThread = false;
    });
    MclAssignProgress(c, [](MclConverter*, int32_t code, int64_t frame, int64_t sample) {
        Note("progress:" + std::to_string(code) + ":" + std::to_string(frame));
        if (t_job->onProgress) t_job->onProgress(code, frame, sample);
    });
    MclAssignError(c, [](MclConverter*, int32_t code, int32_t* action) {
        Note("error:" + std::to_string(code));
        t_job->errorTextInCallback = MclGetErrorStr();
        t_job->errorFileInCallback = MclGetErrorFile();
        if (t_job->onError) *action = t_job->onError(code);
    });
    t_videoList = MclListCreate();
    t_audioList = MclListCreate();
    for (const auto& v : video) MclListAdd(t_videoList, v.c_str());
    for (const auto& a : audio) MclListAdd(t_audioList, a.c_str());
    frameTotal = MclListGetFrameCount(t_videoList);
    sampleTotal = MclListGetSampleCount(t_audioList);
    if (presetKind >= 0) MclSetFormatPreset(c, presetKind, tv);
    MclVideoSetKeepDuration(c, keepDuration ? -1 : 0);
    MclVideoSetFileName(c, output.c_str());
    MclAudioSetFileName(c, output.c_str());
    if (abortBefore) MclAbort(c);
    result = MclConvert(c);
    lastError = MclGetError();
    lastErrorText = MclGetErrorStr();
    lastErrorSystemCode = MclGetErrorSystemCode();
    lastErrorFile = MclGetErrorFile();
    MclListFree(t_videoList);
    MclListFree(t_audioList);
    MclFree(c);
    t_job = nullptr;
}

}  // namespace mcltest

namespace mcltest {

double FirstLoudSecond(const std::filesystem::path& path)
{
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return -1;
    avformat_find_stream_info(fmt, nullptr);
    int as = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    double found = -1;
    if (as >= 0) {
        const AVCodec* codec = avcodec_find_decoder(fmt->streams[as]->codecpar->codec_id);
        AVCodecContext* dec = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(dec, fmt->streams[as]->codecpar);
        avcodec_open2(dec, codec, nullptr);
        AVPacket* pkt = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        int64_t position = 0;
        auto scan = [&] {
            while (found < 0 && avcodec_receive_frame(dec, frame) >= 0) {
                for (int i = 0; i < frame->nb_samples && found < 0; ++i) {
                    double v = 0;
                    switch (frame->format) {
                    case AV_SAMPLE_FMT_FLTP: v = reinterpret_cast<float*>(frame->data[0])[i]; break;
                    case AV_SAMPLE_FMT_FLT: v = reinterpret_cast<float*>(frame->data[0])[i * 2]; break;
                    case AV_SAMPLE_FMT_S16P:
                        v = reinterpret_cast<int16_t*>(frame->data[0])[i] / 32768.0;
                        break;
                    case AV_SAMPLE_FMT_S16:
                        v = reinterpret_cast<int16_t*>(frame->data[0])[i * 2] / 32768.0;
                        break;
                    default: break;
                    }
                    if (v > 0.05 || v < -0.05) found = double(position + i) / frame->sample_rate;
                }
                position += frame->nb_samples;
                av_frame_unref(frame);
            }
        };
        while (found < 0 && av_read_frame(fmt, pkt) >= 0) {
            if (pkt->stream_index == as && avcodec_send_packet(dec, pkt) >= 0) scan();
            av_packet_unref(pkt);
        }
        av_frame_free(&frame);
        av_packet_free(&pkt);
        avcodec_free_context(&dec);
    }
    avformat_close_input(&fmt);
    return found;
}

}  // namespace mcltest
