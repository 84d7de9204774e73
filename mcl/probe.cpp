#include "mcl/probe.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "mcl/ff.h"
#include "mcl/mcl_timebase.h"

namespace mcl {
namespace {

bool IsImageDemuxer(const AVInputFormat* f)
{
    if (!f || !f->name) return false;
    std::string name = f->name;
    return name == "image2" || (name.size() > 5 && name.ends_with("_pipe"));
}

double ScanDuration(AVFormatContext* fmt)
{
    Packet pkt = NewPacket();
    double end = 0;
    bool any = false;
    while (av_read_frame(fmt, pkt.get()) >= 0) {
        AVStream* s = fmt->streams[pkt->stream_index];
        auto type = s->codecpar->codec_type;
        if ((type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) && pkt->pts != AV_NOPTS_VALUE) {
            double t = (pkt->pts + pkt->duration) * av_q2d(s->time_base);
            if (!any || t > end) end = t;
            any = true;
        }
        av_packet_unref(pkt.get());
    }
    if (!any) return 0;
    double start = fmt->start_time == AV_NOPTS_VALUE ? 0 : fmt->start_time / double(AV_TIME_BASE);
    return std::max(0.0, end - start);
}

double DurationOf(AVFormatContext* fmt)
{
    if (fmt->duration == AV_NOPTS_VALUE || fmt->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return ScanDuration(fmt);
    return std::max(0.0, fmt->duration / double(AV_TIME_BASE));
}

}  // namespace

double ProbeDuration(const std::string& path)
{
    InputFormat fmt = OpenInput(path);
    if (!fmt) return 0;
    return DurationOf(fmt.get());
}

bool HasImageExtension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".bmp" || ext == ".dib" || ext == ".jpg" || ext == ".jpeg" || ext == ".png";
}

EntryInfo ProbeEntry(const std::string& path)
{
    EntryInfo info;
    InputFormat fmt = OpenInput(path);
    if (!fmt) return info;
    if (IsImageDemuxer(fmt->iformat)) {
        info.kind = EntryKind::Image;
        info.hasVideo = true;
        return info;
    }
    info.kind = EntryKind::Media;
    for (unsigned i = 0; i < fmt->nb_streams; ++i)
        if (IsRealVideo(fmt->streams[i]) && !info.hasVideo) {
            info.hasVideo = true;
            info.width = fmt->streams[i]->codecpar->width;
            info.height = fmt->streams[i]->codecpar->height;
        }
    info.duration = DurationOf(fmt.get());
    return info;
}

int64_t MediaFrames(double duration) { return MclSecondsToFrames(duration); }

}  // namespace mcl
