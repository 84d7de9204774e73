// The output settings of each format preset.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/rational.h>
}

namespace mcl {

struct PictureSize {
    int width = 0, height = 0;
    bool operator==(const PictureSize&) const = default;
};

struct OutputSettings {
    std::string muxer;    // passed to the muxer by name
    int packetSize = 0;   // 0: the muxer's default
    int64_t muxRate = 0;  // bits/s, 0: the muxer's default
    int preloadUs = -1;   // -1: the muxer's default
    bool fastStart = false;

    std::string videoCodec;
    uint32_t codecTag = 0;      // 0: the muxer's choice
    int width = 0, height = 0;  // 0: the size of the first picture
    // The picture sizes the format allows, all shown as 4:3; empty: only
    // width x height.
    std::vector<PictureSize> sizes{};
    AVRational frameRate{25, 1};
    int gop = 12;
    int64_t bitRate = 0, maxRate = 0, minRate = 0;
    int bufferSize = 0;   // VBV, bits
    int maxBFrames = -1;  // -1: the encoder's default
    int qscale = 0;       // fixed quantiser, 0: none
    int crf = 0;          // x264 quality, 0: none
    bool scanOffset = false;

    std::string audioCodec;
    int sampleRate = 44100;
    int64_t audioBitRate = 0;
};

// The settings for a preset kind and TV system; nothing for an unknown pair.
std::optional<OutputSettings> PresetSettings(int32_t kind, int32_t tv);

// The output without a preset: AVI with MPEG-4 video and MP3 audio.
OutputSettings DefaultSettings();

// The size to encode a picture of the given size in: the picture's own when
// the settings allow it, else one it halves to exactly, else one of the same
// width, else the settings' width x height.
PictureSize OutputSizeFor(const OutputSettings& settings, int width, int height);

// The sample aspect ratio that shows width x height as 4:3.
AVRational FourByThreeAspect(int width, int height);

}  // namespace mcl
