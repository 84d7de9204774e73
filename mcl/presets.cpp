#include "mcl/presets.h"

#include "mcl/mcl.h"

extern "C" {
#include <libavutil/macros.h>
}

namespace mcl {

std::optional<OutputSettings> PresetSettings(int32_t kind, int32_t tv)
{
    if (tv != MCL_TV_PAL && tv != MCL_TV_NTSC) return std::nullopt;
    const bool pal = tv == MCL_TV_PAL;
    OutputSettings s;
    s.frameRate = pal ? AVRational{25, 1} : AVRational{30000, 1001};
    s.gop = pal ? 15 : 18;
    switch (kind) {
    case MCL_PRESET_VCD:
        s.muxer = "vcd";
        s.packetSize = 2324;
        s.muxRate = 1411200;
        s.preloadUs = 440000;  // the first packs carry padding; data starts at SCR 36000 + 3 * 1200
        s.videoCodec = "mpeg1video";
        s.width = 352;
        s.height = pal ? 288 : 240;
        s.bitRate = s.maxRate = s.minRate = 1150000;
        s.bufferSize = 327680;
        s.audioCodec = "mp2";
        s.sampleRate = 44100;
        s.audioBitRate = 224000;
        return s;
    case MCL_PRESET_SVCD:
        s.muxer = "svcd";
        s.packetSize = 2324;
        s.videoCodec = "mpeg2video";
        s.scanOffset = true;
        s.width = 480;
        s.height = pal ? 576 : 480;
        s.bitRate = 2040000;
        s.maxRate = 2516000;
        s.bufferSize = 1835008;
        s.audioCodec = "mp2";
        s.sampleRate = 44100;
        s.audioBitRate = 224000;
        return s;
    case MCL_PRESET_DVD:
        s.muxer = "dvd";
        s.packetSize = 2048;
        s.muxRate = 10080000;
        s.videoCodec = "mpeg2video";
        s.width = 720;
        s.height = pal ? 576 : 480;
        s.bitRate = 6000000;
        s.maxRate = 9000000;
        s.bufferSize = 1835008;
        s.audioCodec = "ac3";
        s.sampleRate = 48000;
        s.audioBitRate = 448000;
        return s;
    case MCL_PRESET_MP4:
        s.muxer = "mp4";
        s.fastStart = true;
        s.videoCodec = "libx264";
        s.crf = 20;
        s.gop = 250;
        s.audioCodec = "aac";
        s.sampleRate = 48000;
        s.audioBitRate = 160000;
        return s;
    default: return std::nullopt;
    }
}

OutputSettings DefaultSettings()
{
    OutputSettings s;
    s.muxer = "avi";
    s.videoCodec = "mpeg4";
    s.codecTag = MKTAG('X', 'V', 'I', 'D');
    s.maxBFrames = 0;
    s.qscale = 3;
    s.gop = 250;
    s.audioCodec = "libmp3lame";
    s.sampleRate = 44100;
    s.audioBitRate = 192000;
    return s;
}

AVRational FourByThreeAspect(int width, int height)
{
    AVRational sar{1, 1};
    if (width > 0 && height > 0) av_reduce(&sar.num, &sar.den, 4LL * height, 3LL * width, 1 << 16);
    return sar;
}

}  // namespace mcl
