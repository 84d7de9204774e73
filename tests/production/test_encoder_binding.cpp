// GCC 12 warns falsely inside std::regex once it is inlined with the
// sanitizers on; the warning points into the standard headers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <string>
#include <vector>

#include "production/encoder_binding.h"
#include "tests/mcl/media_support.h"

namespace {

using production::EncoderJob;
using production::EncoderSession;

struct RecordingClient : production::EncoderClient {
    std::vector<std::string> lines;
    int frames = 0;
    int abortAfter = -1;
    EncoderSession* session = nullptr;
    bool runningInside = false;
    std::vector<int> codes;
    std::vector<std::string> errors;
    bool cancelAfterLists = false;
    int pumps = 0;

    void VideoFrame(int64_t, int32_t) override
    {
        ++frames;
        runningInside = session->Running();
        if (frames == abortAfter) session->Abort();
    }
    void Progress(int code, int64_t, int64_t) override { codes.push_back(code); }
    void Log(const std::string& line) override { lines.push_back(line); }
    void LogError(const std::string& line) override
    {
        errors.push_back(line);
        Log(line);
    }
    void PumpMessages() override { ++pumps; }
    bool Cancelled() const override { return cancelAfterLists && pumps > 0; }
};

struct BindingFixture : testing::Test {
    mcltest::TempDir dir;
    std::string frame = (dir / "lswj.bmp").string();
    RecordingClient client;
    EncoderSession session{client};

    BindingFixture()
    {
        mcltest::WriteBmp(frame, 64, 48, {40, 90, 200});
        client.session = &session;
    }
    EncoderJob Job(int frames, const std::string& format = "AVI", const std::string& tv = "PAL")
    {
        EncoderJob job;
        job.videoNames.assign(size_t(frames), frame);
        job.videoOut = job.audioOut = (dir / "out.bin").string();
        job.outputFormat = format;
        job.tvSystem = tv;
        return job;
    }
};

TEST_F(BindingFixture, RunLogsTheTotalsTheProgressAndTheEnd)
{
    auto result = session.Run(Job(3));
    EXPECT_TRUE(result.converted);
    EXPECT_EQ(result.error, 0);
    EXPECT_EQ(result.videoFrameTotal, 3);
    EXPECT_EQ(client.frames, 3);
    EXPECT_TRUE(client.runningInside);
    EXPECT_FALSE(session.Running());
    const std::vector<std::string> pattern = {
        "Total frames:  3",
        "Total samples: 0",
        "Starting conversion\\.\\.\\.",
        "Preparing conversion\\.\\.\\.",
        "Frame: 1, Sample: 1764, Time Left: \\d\\d:\\d\\d:\\d\\d",
        "Frame: 2, Sample: 3528, Time Left: \\d\\d:\\d\\d:\\d\\d",
        "Frame: 3, Sample: 5292, Time Left: 00:00:00",
        "Processing time: \\d\\d:\\d\\d:\\d\\d",
        "Conversion ended\\.",
    };
    ASSERT_EQ(client.lines.size(), pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i)
        EXPECT_TRUE(std::regex_match(client.lines[i], std::regex(pattern[i]))) << client.lines[i];
    EXPECT_EQ(client.codes, (std::vector<int>{1, 3, 3, 3, 0}));
}

TEST_F(BindingFixture, PresetFollowsTheOutputFormatAndTvSystem)
{
    struct Case {
        const char* format;
        const char* tv;
        const char* videoCodec;
        int width, height;
    };
    const Case cases[] = {
        {"VCD", "NTSC", "mpeg1video", 352, 240},
        {"DVD", "PAL", "mpeg2video", 720, 576},
        {"AVI", "PAL", "mpeg4", 64, 48},
        {"VCD", "SECAM", "mpeg4", 64, 48},  // no preset: the library's AVI
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.tv);
        ASSERT_EQ(session.Run(Job(2, c.format, c.tv)).error, 0);
        mcltest::StreamFacts out = mcltest::ReadBack(dir / "out.bin");
        EXPECT_EQ(out.videoCodec, c.videoCodec);
        EXPECT_EQ(out.width, c.width);
        EXPECT_EQ(out.height, c.height);
    }
}

TEST_F(BindingFixture, AbortFromTheFrameCallbackEndsTheRun)
{
    client.abortAfter = 4;
    auto result = session.Run(Job(20));
    EXPECT_EQ(result.error, 0);
    EXPECT_EQ(client.frames, 4);
    EXPECT_EQ(mcltest::ReadBack(dir / "out.bin").videoFrames, 4);
    EXPECT_EQ(client.lines.back(), "Conversion ended.");
    session.Abort();  // no run: nothing happens
}

TEST_F(BindingFixture, EmptyJobConvertsNothing)
{
    EncoderJob job = Job(0);
    auto result = session.Run(job);
    EXPECT_FALSE(result.converted);
    EXPECT_EQ(client.lines,
              (std::vector<std::string>{"Total frames:  0", "Total samples: 0", "Nothing to convert."}));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.bin"));
}

TEST_F(BindingFixture, InputErrorsAreLoggedAndPassedOver)
{
    EncoderJob job = Job(2);
    job.videoNames.insert(job.videoNames.begin() + 1, (dir / "gone.bmp").string());
    auto result = session.Run(job);
    EXPECT_EQ(result.error, 0);
    int errorLines = 0;
    for (const auto& line : client.lines)
        if (line.find("gone.bmp") != std::string::npos) ++errorLines;
    EXPECT_EQ(errorLines, 1);
    ASSERT_EQ(client.errors.size(), 1u);
    EXPECT_NE(client.errors[0].find("gone.bmp"), std::string::npos);
    EXPECT_EQ(mcltest::ReadBack(dir / "out.bin").videoFrames, 3);  // the last picture repeated
}

// The form fails a job whose log holds an error: a song that stops short of
// its length must reach the log, not end the album's music early in silence.
TEST_F(BindingFixture, ASongCutShortIsLoggedAsAnInputError)
{
    const std::filesystem::path song = dir / "song.mp3";
    mcltest::MakeTone(song, 2.0);
    std::filesystem::resize_file(song, std::filesystem::file_size(song) / 2);
    EncoderJob job = Job(75);
    job.audioNames = {song.string()};
    auto result = session.Run(job);
    EXPECT_EQ(result.error, 0);
    ASSERT_EQ(client.errors.size(), 1u);
    EXPECT_NE(client.errors[0].find("song.mp3"), std::string::npos) << client.errors[0];
    // in the songs' words; the encoder's own line stays in the log
    EXPECT_EQ(client.errors[0], "音乐文件已损坏或不完整: " + song.string() + ".");
}

// Only the music list's songs are told in the songs' words: an opening
// title before them keeps the encoder's own line.
TEST_F(BindingFixture, OnlyTheSongsErrorsAreToldAsSongs)
{
    const std::filesystem::path opening = dir / "opening.mpg", song = dir / "song.wav";
    std::ofstream(opening) << "not a video";
    mcltest::MakeTone(song, 2.0);
    std::filesystem::resize_file(song, std::filesystem::file_size(song) / 2);
    EncoderJob job = Job(75);
    job.audioNames = {opening.string(), song.string()};
    job.audioSeconds = {0.0, 2.0};
    job.firstSong = 1;
    session.Run(job);
    ASSERT_EQ(client.errors.size(), 2u);
    EXPECT_NE(client.errors[0].find("opening.mpg"), std::string::npos) << client.errors[0];
    EXPECT_EQ(client.errors[0].find("音乐文件"), std::string::npos) << client.errors[0];
    EXPECT_EQ(client.errors[1], "音乐文件已损坏或不完整: " + song.string() + ".");
}

TEST_F(BindingFixture, OutputFailureIsTheRunsError)
{
    EncoderJob job = Job(2);
    job.videoOut = job.audioOut = (dir / "missing-folder" / "out.avi").string();
    auto result = session.Run(job);
    EXPECT_EQ(result.error, MCL_ERROR_OUTPUT);
    ASSERT_GE(client.lines.size(), 2u);
    EXPECT_EQ(client.lines[client.lines.size() - 2], result.errorText);
    EXPECT_EQ(client.lines.back(), "Conversion ended.");
}

TEST_F(BindingFixture, StopWhileTheListsAreHandedOverConvertsNothing)
{
    client.cancelAfterLists = true;
    auto result = session.Run(Job(5));
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.converted);
    EXPECT_EQ(client.pumps, 5) << "messages run after every entry";
    EXPECT_EQ(client.frames, 0);
    EXPECT_EQ(client.lines.back(), "Conversion cancelled.");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.bin"));
    EXPECT_FALSE(session.Running());
}

}  // namespace
