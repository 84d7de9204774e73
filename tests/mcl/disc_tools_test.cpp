// The disc formats as the disc authoring tools see them: each output is
// handed to vcdimager or dvdauthor, which must take it without a warning.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "mcl/mcl.h"
#include "tests/mcl/media_support.h"

namespace {

struct DiscCase {
    const char* name;
    int32_t kind;
    int32_t tv;
    int pictureWidth, pictureHeight;  // the rendered frames
    int width, height;                // the size they are encoded in
    const char* vcdType;              // vcdimager's disc type; nullptr: a DVD
};

std::ostream& operator<<(std::ostream& os, const DiscCase& c) { return os << c.name; }

struct ToolRun {
    int status = -1;
    std::string output;  // standard output and error, as printed
};

ToolRun Run(const std::string& command)
{
    ToolRun run;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) run.output.append(buffer.data(), n);
    run.status = pclose(pipe.release());
    return run;
}

std::string Quoted(const std::filesystem::path& path)
{
    std::string quoted(1, '\'');
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

std::vector<std::string> Lines(const std::string& output)
{
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The lines that warn or report an error; both tools start those with a
// WARN or ERR(OR) tag, the banners and progress lines have neither.
std::vector<std::string> Complaints(const std::vector<std::string>& lines)
{
    std::vector<std::string> complaints;
    for (const std::string& line : lines)
        if (line.find("WARN") != std::string::npos || line.find("ERR") != std::string::npos)
            complaints.push_back(line);
    return complaints;
}

// The first lines, enough to tell the fault (a bad stream gets a warning a
// sector).
std::string FirstLines(const std::vector<std::string>& lines)
{
    constexpr size_t kShown = 20;
    std::string text;
    for (size_t i = 0; i < lines.size() && i < kShown; ++i) text += lines[i] + "\n";
    if (lines.size() > kShown) text += "... and " + std::to_string(lines.size() - kShown) + " more lines\n";
    return text;
}

// Fails on a non-zero exit or any complaint in the output.
void ExpectClean(const std::string& command)
{
    const ToolRun run = Run(command);
    const std::vector<std::string> lines = Lines(run.output);
    const std::vector<std::string> complaints = Complaints(lines);
    EXPECT_TRUE(run.status == 0 && complaints.empty()) << command << "\nexit status " << run.status << "\n"
                                                       << FirstLines(complaints.empty() ? lines : complaints);
}

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

    if (c.vcdType) {
        ExpectClean("vcdimager -t " + std::string(c.vcdType) + " -c " + Quoted(dir / "disc.cue") + " -b " +
                    Quoted(dir / "disc.bin") + " " + Quoted(job.output));
        EXPECT_GT(std::filesystem::file_size(dir / "disc.bin"), std::filesystem::file_size(job.output));
    } else {
        const std::filesystem::path disc = dir / "disc";
        // the table of contents' menu takes the TV system from the
        // environment; the title set's is read from the stream
        const std::string dvdauthor =
            std::string("VIDEO_FORMAT=") + (c.tv == MCL_TV_PAL ? "PAL" : "NTSC") + " dvdauthor";
        ExpectClean(dvdauthor + " -o " + Quoted(disc) + " -t -f " + Quoted(job.output));
        ExpectClean(dvdauthor + " -o " + Quoted(disc) + " -T");
        EXPECT_TRUE(std::filesystem::exists(disc / "VIDEO_TS" / "VIDEO_TS.IFO"));
        EXPECT_TRUE(std::filesystem::exists(disc / "VIDEO_TS" / "VTS_01_1.VOB"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    DiscFormats, DiscTools,
    testing::Values(DiscCase{"VcdPal", MCL_PRESET_VCD, MCL_TV_PAL, 352, 288, 352, 288, "vcd2"},
                    DiscCase{"VcdNtsc", MCL_PRESET_VCD, MCL_TV_NTSC, 352, 288, 352, 240, "vcd2"},
                    DiscCase{"SvcdPal", MCL_PRESET_SVCD, MCL_TV_PAL, 352, 288, 480, 576, "svcd"},
                    DiscCase{"SvcdNtsc", MCL_PRESET_SVCD, MCL_TV_NTSC, 352, 288, 480, 480, "svcd"},
                    DiscCase{"DvdPal352", MCL_PRESET_DVD, MCL_TV_PAL, 352, 288, 352, 288, nullptr},
                    DiscCase{"DvdNtsc352", MCL_PRESET_DVD, MCL_TV_NTSC, 352, 288, 352, 240, nullptr},
                    DiscCase{"DvdPal704", MCL_PRESET_DVD, MCL_TV_PAL, 704, 576, 704, 576, nullptr},
                    DiscCase{"DvdNtsc704", MCL_PRESET_DVD, MCL_TV_NTSC, 704, 576, 704, 480, nullptr},
                    DiscCase{"DvdPal720", MCL_PRESET_DVD, MCL_TV_PAL, 640, 480, 720, 576, nullptr},
                    DiscCase{"DvdNtsc720", MCL_PRESET_DVD, MCL_TV_NTSC, 640, 480, 720, 480, nullptr}),
    [](const testing::TestParamInfo<DiscCase>& info) { return std::string(info.param.name); });

}  // namespace
