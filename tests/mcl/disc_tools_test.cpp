// The disc formats as the disc authoring tools see them: each output is
// handed to vcdimager or dvdauthor, which must take it without a warning.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mcl/mcl.h"
#include "tests/mcl/disc_tools.h"
#include "tests/mcl/media_support.h"

namespace {

struct DiscCase {
    const char* name;
    int32_t kind;
    int32_t tv;
    int pictureWidth, pictureHeight;  // the rendered frames
    int width, height;                // the size they are encoded in
};

std::ostream& operator<<(std::ostream& os, const DiscCase& c) { return os << c.name; }

class DiscTools : public testing::TestWithParam<DiscCase> {};

TEST_P(DiscTools, AuthoringToolsTakeTheOutputWithoutAWarning)
{
    const DiscCase& c = GetParam();
    mcltest::TempDir dir;
    // every frame differs from the one before, as in a slideshow's fades;
    // tiles of a macroblock's size keep the encoders within their rates
    std::vector<std::string> pictures;
    for (unsigned k = 0; k < 3; ++k) {
        pictures.push_back((dir / ("picture" + std::to_string(k) + ".bmp")).string());
        mcltest::WriteTilesBmp(pictures.back(), c.pictureWidth, c.pictureHeight, 16, k + 1);
    }
    const double seconds = 3;
    const std::string song = (dir / "song.wav").string();
    mcltest::WriteToneWav(song, seconds);

    mcltest::Job job;
    const int frames = 75;  // a 25th of a second each
    for (int i = 0; i < frames; ++i) job.video.push_back(pictures[size_t(i) % pictures.size()]);
    job.audio = {song};
    job.output = (dir / "album.mpg").string();
    job.presetKind = c.kind;
    job.tv = c.tv;
    job.Run();
    ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
    const mcltest::StreamFacts facts = mcltest::ReadBack(job.output);
    ASSERT_EQ(facts.width, c.width);
    ASSERT_EQ(facts.height, c.height);

    mcltest::ExpectDiscToolTakes(job.output, c.kind, c.tv, dir.path());
}

INSTANTIATE_TEST_SUITE_P(
    DiscFormats, DiscTools,
    testing::Values(DiscCase{"VcdPal", MCL_PRESET_VCD, MCL_TV_PAL, 352, 288, 352, 288},
                    DiscCase{"VcdNtsc", MCL_PRESET_VCD, MCL_TV_NTSC, 352, 288, 352, 240},
                    DiscCase{"SvcdPal", MCL_PRESET_SVCD, MCL_TV_PAL, 352, 288, 480, 576},
                    DiscCase{"SvcdNtsc", MCL_PRESET_SVCD, MCL_TV_NTSC, 352, 288, 480, 480},
                    DiscCase{"DvdPal352", MCL_PRESET_DVD, MCL_TV_PAL, 352, 288, 352, 288},
                    DiscCase{"DvdNtsc352", MCL_PRESET_DVD, MCL_TV_NTSC, 352, 288, 352, 240},
                    DiscCase{"DvdPal704", MCL_PRESET_DVD, MCL_TV_PAL, 704, 576, 704, 576},
                    DiscCase{"DvdNtsc704", MCL_PRESET_DVD, MCL_TV_NTSC, 704, 576, 704, 480},
                    DiscCase{"DvdPal720", MCL_PRESET_DVD, MCL_TV_PAL, 640, 480, 720, 576},
                    DiscCase{"DvdNtsc720", MCL_PRESET_DVD, MCL_TV_NTSC, 640, 480, 720, 480}),
    [](const testing::TestParamInfo<DiscCase>& info) { return std::string(info.param.name); });

}  // namespace
