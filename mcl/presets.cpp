#include "mcl/presets.h"

#include <algorithm>
#include <cstdlib>

#include "mcl/mcl.h"

extern "C" {
#include <libavutil/macros.h>
}

namespace mcl {

namespace {

// One row a format: what both TV systems share, then for PAL and NTSC the
// keyframe interval and the sizes allowed (the first is the default).
struct PresetRow {
    int32_t kind;
    OutputSettings settings;
    int palGop, ntscGop;
    std::vector<PictureSize> pal, ntsc;
};

const std::vector<PresetRow>& PresetTable()
{
    static const std::vector<PresetRow> table = {
        {MCL_PRESET_VCD,
         // The first packs carry padding; data starts at SCR 36000 + 3 * 1200.
         {.muxer = "vcd",
          .packetSize = 2324,
          .muxRate = 1411200,
          .preloadUs = 440000,
          .videoCodec = "mpeg1video",
          .bitRate = 1150000,
          .maxRate = 1150000,
          .minRate = 1150000,
          .bufferSize = 327680,
          .audioCodec = "mp2",
          .sampleRate = 44100,
          .audioBitRate = 224000},
         15,
         18,
         {{352, 288}},
         {{352, 240}}},
        {MCL_PRESET_SVCD,
         {.muxer = "svcd",
          .packetSize = 2324,
          .videoCodec = "mpeg2video",
          .bitRate = 2040000,
          .maxRate = 2516000,
          .bufferSize = 1835008,
          .scanOffset = true,
          .audioCodec = "mp2",
          .sampleRate = 44100,
          .audioBitRate = 224000},
         15,
         18,
         {{480, 576}},
         {{480, 480}}},
        {MCL_PRESET_DVD,
         {.muxer = "dvd",
          .packetSize = 2048,
          .muxRate = 10080000,
          .videoCodec = "mpeg2video",
          .bitRate = 6000000,
          .maxRate = 9000000,
          .bufferSize = 1835008,
          .audioCodec = "ac3",
          .sampleRate = 48000,
          .audioBitRate = 448000},
         15,
         18,
         {{720, 576}, {704, 576}, {352, 576}, {352, 288}},
         {{720, 480}, {704, 480}, {352, 480}, {352, 240}}},
        // The size of the first picture.
        {MCL_PRESET_MP4,
         {.muxer = "mp4",
          .fastStart = true,
          .videoCodec = "libx264",
          .crf = 20,
          .audioCodec = "aac",
          .sampleRate = 48000,
          .audioBitRate = 160000},
         250,
         250,
         {},
         {}},
    };
    return table;
}

}  // namespace

std::optional<OutputSettings> PresetSettings(int32_t kind, int32_t tv)
{
    if (tv != MCL_TV_PAL && tv != MCL_TV_NTSC) return std::nullopt;
    const auto& table = PresetTable();
    auto row = std::find_if(table.begin(), table.end(), [&](const PresetRow& r) { return r.kind == kind; });
    if (row == table.end()) return std::nullopt;
    const bool pal = tv == MCL_TV_PAL;
    OutputSettings s = row->settings;
    s.frameRate = pal ? AVRational{25, 1} : AVRational{30000, 1001};
    s.gop = pal ? row->palGop : row->ntscGop;
    s.sizes = pal ? row->pal : row->ntsc;
    if (!s.sizes.empty()) {
        s.width = s.sizes.front().width;
        s.height = s.sizes.front().height;
    }
    return s;
}

OutputSettings DefaultSettings()
{
    return {.muxer = "avi",
            .videoCodec = "mpeg4",
            .codecTag = MKTAG('X', 'V', 'I', 'D'),
            .gop = 250,
            .maxBFrames = 0,
            .qscale = 3,
            .audioCodec = "libmp3lame",
            .sampleRate = 44100,
            .audioBitRate = 192000};
}

PictureSize OutputSizeFor(const OutputSettings& settings, int width, int height)
{
    const PictureSize fallback{settings.width, settings.height};
    const auto& sizes = settings.sizes;
    auto allowed = [&](PictureSize size) {
        return std::find(sizes.begin(), sizes.end(), size) != sizes.end();
    };
    if (allowed({width, height})) return {width, height};
    if (width % 2 == 0 && height % 2 == 0 && allowed({width / 2, height / 2})) return {width / 2, height / 2};
    // Scaled one way only, as little as may be.
    PictureSize best = fallback;
    for (const PictureSize& size : sizes)
        if (size.width == width &&
            (best.width != width || std::abs(size.height - height) < std::abs(best.height - height)))
            best = size;
    return best;
}

AVRational FourByThreeAspect(int width, int height)
{
    AVRational sar{1, 1};
    if (width > 0 && height > 0) av_reduce(&sar.num, &sar.den, 4LL * height, 3LL * width, 1 << 16);
    return sar;
}

}  // namespace mcl
