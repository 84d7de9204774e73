#include <gtest/gtest.h>

#include <string>

#include "mcl/mcl.h"
#include "tests/mcl/media_support.h"

namespace {

struct PresetCase {
    const char* name;
    int32_t kind;  // -1: none (AVI)
    int32_t tv;
    const char* container;
    const char* videoCodec;
    const char* audioCodec;
    int width, height;
    double frameRate;
    int sampleRate;
    int pictureWidth = 352, pictureHeight = 288;  // the rendered frames
};

std::ostream& operator<<(std::ostream& os, const PresetCase& c) { return os << c.name; }

class MclPresets : public testing::TestWithParam<PresetCase> {};

TEST_P(MclPresets, WritesTheFormatOfTheTable)
{
    const PresetCase& c = GetParam();
    mcltest::TempDir dir;
    // the presets without a fixed size keep the frames' size; those with a
    // few keep one they allow
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, c.pictureWidth, c.pictureHeight, {200, 40, 40});
    const std::string song = (dir / "song.wav").string();
    mcltest::MakeTone(song, 2.0);

    const int frames = 25;
    mcltest::Job job;
    job.video.assign(frames, frame);
    job.audio = {song};
    job.output = (dir / "out.bin").string();
    job.presetKind = c.kind;
    job.tv = c.tv;
    job.Run();
    ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;

    const mcltest::StreamFacts out = mcltest::ReadBack(job.output);
    EXPECT_EQ(out.container, c.container);
    EXPECT_EQ(out.videoCodec, c.videoCodec);
    EXPECT_EQ(out.audioCodec, c.audioCodec);
    EXPECT_EQ(out.width, c.width);
    EXPECT_EQ(out.height, c.height);
    EXPECT_NEAR(out.frameRate, c.frameRate, 0.01);
    EXPECT_NEAR(out.displayAspect, 4.0 / 3.0, 0.02);
    EXPECT_EQ(out.sampleRate, c.sampleRate);
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.decodeErrors, 0);
    const double seconds = frames * 0.04;
    EXPECT_NEAR(out.videoSeconds, seconds, 1 / c.frameRate);
    // the song is cut at the end of the video; encoders pad their last frame
    EXPECT_NEAR(out.audioSeconds, seconds, 0.05);
    if (c.kind < 0) {
        EXPECT_EQ(out.videoTag, uint32_t('X' | 'V' << 8 | 'I' << 16 | 'D' << 24));
    }
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndTvSystems, MclPresets,
    testing::Values(
        PresetCase{"VcdPal", MCL_PRESET_VCD, MCL_TV_PAL, "mpeg", "mpeg1video", "mp2", 352, 288, 25, 44100},
        PresetCase{"VcdNtsc", MCL_PRESET_VCD, MCL_TV_NTSC, "mpeg", "mpeg1video", "mp2", 352, 240, 29.97,
                   44100},
        PresetCase{"SvcdPal", MCL_PRESET_SVCD, MCL_TV_PAL, "mpeg", "mpeg2video", "mp2", 480, 576, 25, 44100},
        PresetCase{"SvcdNtsc", MCL_PRESET_SVCD, MCL_TV_NTSC, "mpeg", "mpeg2video", "mp2", 480, 480, 29.97,
                   44100},
        PresetCase{"DvdPal", MCL_PRESET_DVD, MCL_TV_PAL, "mpeg", "mpeg2video", "ac3", 352, 288, 25, 48000},
        PresetCase{"DvdNtsc", MCL_PRESET_DVD, MCL_TV_NTSC, "mpeg", "mpeg2video", "ac3", 352, 240, 29.97,
                   48000},
        PresetCase{"DvdPal704", MCL_PRESET_DVD, MCL_TV_PAL, "mpeg", "mpeg2video", "ac3", 704, 576, 25, 48000,
                   704, 576},
        PresetCase{"DvdNtsc704", MCL_PRESET_DVD, MCL_TV_NTSC, "mpeg", "mpeg2video", "ac3", 704, 480, 29.97,
                   48000, 704, 576},
        PresetCase{"DvdPalTwice704", MCL_PRESET_DVD, MCL_TV_PAL, "mpeg", "mpeg2video", "ac3", 704, 576, 25,
                   48000, 1408, 1152},
        PresetCase{"DvdPalOtherSize", MCL_PRESET_DVD, MCL_TV_PAL, "mpeg", "mpeg2video", "ac3", 720, 576, 25,
                   48000, 640, 480},
        PresetCase{"Mp4Pal", MCL_PRESET_MP4, MCL_TV_PAL, "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac", 352, 288,
                   25, 48000},
        PresetCase{"Mp4Ntsc", MCL_PRESET_MP4, MCL_TV_NTSC, "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac", 352, 288,
                   29.97, 48000},
        PresetCase{"AviWithoutPreset", -1, MCL_TV_PAL, "avi", "mpeg4", "mp3", 352, 288, 25, 44100}),
    [](const testing::TestParamInfo<PresetCase>& info) { return std::string(info.param.name); });

TEST(MclPresetChoice, UnknownKindsAndTvSystemsAreRefused)
{
    MclConverter* c = MclCreate();
    EXPECT_TRUE(MclSetFormatPreset(c, MCL_PRESET_DVD, MCL_TV_NTSC));
    EXPECT_FALSE(MclSetFormatPreset(c, 3, MCL_TV_PAL));
    EXPECT_FALSE(MclSetFormatPreset(c, MCL_PRESET_VCD, 2));
    MclFree(c);
}

}  // namespace
