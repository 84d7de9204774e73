#include "tests/mcl/disc_tools.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "mcl/mcl.h"

namespace mcltest {
namespace {

namespace fs = std::filesystem;

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

std::string Quoted(const fs::path& path)
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

}  // namespace

void ExpectDiscToolTakes(const fs::path& video, int32_t presetKind, int32_t tv, const fs::path& work)
{
    if (presetKind == MCL_PRESET_VCD || presetKind == MCL_PRESET_SVCD) {
        const std::string type = presetKind == MCL_PRESET_VCD ? "vcd2" : "svcd";
        ExpectClean("vcdimager -t " + type + " -c " + Quoted(work / "disc.cue") + " -b " +
                    Quoted(work / "disc.bin") + " " + Quoted(video));
        // the image holds the whole stream and the disc's own sectors
        const fs::path image = work / "disc.bin";
        EXPECT_TRUE(fs::exists(image) && fs::file_size(image) > fs::file_size(video)) << "no disc image";
    } else {
        ASSERT_EQ(presetKind, MCL_PRESET_DVD);
        const fs::path disc = work / "disc";
        // the table of contents' menu takes the TV system from the
        // environment; the title set's is read from the stream
        const std::string dvdauthor =
            std::string("VIDEO_FORMAT=") + (tv == MCL_TV_PAL ? "PAL" : "NTSC") + " dvdauthor";
        ExpectClean(dvdauthor + " -o " + Quoted(disc) + " -t -f " + Quoted(video));
        ExpectClean(dvdauthor + " -o " + Quoted(disc) + " -T");
        EXPECT_TRUE(fs::exists(disc / "VIDEO_TS" / "VIDEO_TS.IFO"));
        EXPECT_TRUE(fs::exists(disc / "VIDEO_TS" / "VTS_01_1.VOB"));
    }
}

}  // namespace mcltest
