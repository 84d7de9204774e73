#include "platform/media/probe.h"

#include <algorithm>
#include <vector>

#include "platform/media/av_handles.h"

namespace media {

bool IsPlayableAudio(const AVStream* stream)
{
    const AVCodecParameters* p = stream->codecpar;
    return p->codec_type == AVMEDIA_TYPE_AUDIO && p->sample_rate > 0 && p->ch_layout.nb_channels > 0 &&
           avcodec_find_decoder(p->codec_id) != nullptr;
}

bool IsPlayableVideo(const AVStream* stream)
{
    const AVCodecParameters* p = stream->codecpar;
    return p->codec_type == AVMEDIA_TYPE_VIDEO && p->width > 0 && p->height > 0 &&
           !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
           avcodec_find_decoder(p->codec_id) != nullptr;
}

double MeasureDuration(AVFormatContext* format, const std::atomic<bool>* cancel)
{
    if (format->duration != AV_NOPTS_VALUE &&
        format->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE) {
        return std::max(0.0, static_cast<double>(format->duration) / AV_TIME_BASE);
    }
    // No length, or only a guess from the bit rate (VBR MP3 without a
    // header): scan the packets.
    std::vector<bool> counted(format->nb_streams);
    for (unsigned i = 0; i < format->nb_streams; ++i)
        counted[i] = IsPlayableAudio(format->streams[i]) || IsPlayableVideo(format->streams[i]);
    PacketPtr packet(av_packet_alloc());
    if (!packet) return 0;
    double latest_end = 0;
    bool any = false;
    while (!(cancel && cancel->load()) && av_read_frame(format, packet.get()) >= 0) {
        const int index = packet->stream_index;
        if (index >= 0 && index < static_cast<int>(counted.size()) && counted[index] &&
            packet->pts != AV_NOPTS_VALUE) {
            const double end = static_cast<double>(packet->pts + packet->duration) *
                               av_q2d(format->streams[index]->time_base);
            latest_end = any ? std::max(latest_end, end) : end;
            any = true;
        }
        av_packet_unref(packet.get());
    }
    if (!any) return 0;
    const double start =
        format->start_time == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(format->start_time) / AV_TIME_BASE;
    return std::max(0.0, latest_end - start);
}

MediaInfo ProbeMedia(const std::filesystem::path& path, const std::atomic<bool>* cancel)
{
    MediaInfo info;
    FormatPtr format = OpenMediaFile(path.string(), cancel, info.error);
    if (!format) return info;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        if (IsPlayableAudio(stream)) info.has_audio = true;
        if (IsPlayableVideo(stream) && !info.has_video) {
            info.has_video = true;
            info.width = stream->codecpar->width;
            info.height = stream->codecpar->height;
        }
    }
    if (!info.has_audio && !info.has_video) {
        info.error = "the file holds no sound or picture that can be played";
        return info;
    }
    info.duration = MeasureDuration(format.get(), cancel);
    if (cancel && cancel->load()) {
        info.duration = 0;
        info.error = "cancelled";
    } else if (info.duration <= 0) {
        info.duration = 0;
        info.error = "the length of the media cannot be found";
    }
    return info;
}

}  // namespace media
