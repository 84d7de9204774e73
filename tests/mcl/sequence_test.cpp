#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "mcl/mcl.h"
#include "tests/mcl/media_support.h"

namespace {

using mcltest::Rgb;

const Rgb kColours[] = {{255, 0, 0}, {0, 255, 0},   {0, 0, 255},  {255, 255, 255},
                        {0, 0, 0},   {255, 255, 0}, {0, 255, 255}};

bool Near(Rgb a, Rgb b)
{
    return std::abs(a.r - b.r) < 40 && std::abs(a.g - b.g) < 40 && std::abs(a.b - b.b) < 40;
}

std::string Describe(const std::vector<Rgb>& colours)
{
    std::ostringstream s;
    for (Rgb c : colours) s << '(' << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ')';
    return s.str();
}

// The application's way: every entry names the same frame file, and the
// video callback decides what it holds; some calls hold the last picture.
struct FrameFileJob {
    mcltest::TempDir dir;
    std::string frameFile = (dir / "lswj.bmp").string();
    mcltest::Job job;
    std::vector<Rgb> expected;  // the colour each timeline frame should show

    explicit FrameFileJob(int frames)
    {
        mcltest::WriteBmp(frameFile, 64, 48, {128, 128, 128});
        job.video.assign(size_t(frames), frameFile);
        job.output = (dir / "out.avi").string();
        job.onVideo = [this](MclConverter*, int64_t frame) {
            // frames 3 and 4 hold (nothing written), the others get a new colour
            if (frame != 3 && frame != 4) {
                mcltest::WriteBmp(frameFile, 64, 48, kColours[frame % 7]);
                expected.push_back(kColours[frame % 7]);
            } else {
                expected.push_back(expected.back());
            }
        };
    }
};

TEST(MclSequence, FrameFileIsReReadForEveryEntryInOrder)
{
    FrameFileJob f(10);
    f.job.Run();
    ASSERT_EQ(f.job.result, MCL_OK) << f.job.lastErrorText;
    EXPECT_TRUE(f.job.allOnCallerThread);

    mcltest::StreamFacts out = mcltest::ReadBack(f.job.output, true);
    EXPECT_EQ(out.width, 64);
    EXPECT_EQ(out.height, 48);
    ASSERT_EQ(out.frameColours.size(), f.expected.size());
    for (size_t i = 0; i < f.expected.size(); ++i)
        EXPECT_TRUE(Near(out.frameColours[i], f.expected[i]))
            << "frame " << i << ": " << Describe(out.frameColours);
}

TEST(MclSequence, CallbacksComeInTheFrameOrder)
{
    FrameFileJob f(3);
    f.job.Run();
    ASSERT_EQ(f.job.result, MCL_OK);
    std::vector<std::string> order;
    for (const auto& e : f.job.events)
        if (!e.starts_with("asource")) order.push_back(e);
    const std::vector<std::string> expected = {
        "progress:1:0", "vsource:0", "video:0", "progress:3:1", "vsource:1", "video:1",
        "progress:3:2", "vsource:2", "video:2", "progress:3:3", "vsource:3", "progress:0:3"};
    EXPECT_EQ(order, expected);
}

TEST(MclSequence, AbortInsideTheVideoCallbackKeepsThatFrame)
{
    for (int n : {1, 4}) {
        FrameFileJob f(12);
        f.job.onVideo = [n, inner = f.job.onVideo](MclConverter* c, int64_t frame) {
            inner(c, frame);
            if (frame == n - 1) MclAbort(c);
        };
        mcltest::MakeTone((f.dir / "song.wav").string(), 1.0);
        f.job.audio = {(f.dir / "song.wav").string()};
        f.job.Run();
        EXPECT_EQ(f.job.result, MCL_OK);
        EXPECT_EQ(f.job.lastError, 0) << "an abort is not an error";
        mcltest::StreamFacts out = mcltest::ReadBack(f.job.output);
        EXPECT_EQ(out.videoFrames, n);
        EXPECT_EQ(out.decodeErrors, 0);
        EXPECT_EQ(out.audioCodec, "mp3");
        EXPECT_NEAR(out.audioSeconds, n * 0.04, 0.05);
        EXPECT_EQ(f.job.events.back(), "progress:0:" + std::to_string(n));
    }
}

TEST(MclSequence, AbortBeforeTheRunConvertsNothing)
{
    FrameFileJob f(5);
    f.job.abortBefore = true;
    f.job.Run();
    EXPECT_EQ(f.job.result, MCL_OK);
    EXPECT_TRUE(std::none_of(f.job.events.begin(), f.job.events.end(),
                             [](const std::string& e) { return e.starts_with("video:"); }));
    EXPECT_EQ(mcltest::ReadBack(f.job.output).videoFrames, 0);
}

TEST(MclErrors, ActionsForAnUnreadableEntry)
{
    struct Case {
        int32_t action;
        int64_t frames;  // frames written
        int32_t result;  // MclConvert's result
    };
    // entries: red, green, (missing), blue
    const Case cases[] = {
        {MCL_ACTION_ABORT, 2, MCL_ERROR_INPUT_DECODE},
        {MCL_ACTION_SKIP, 3, MCL_OK},
        {MCL_ACTION_CONTINUE, 4, MCL_OK},
    };
    for (const Case& c : cases) {
        mcltest::TempDir dir;
        const std::string red = (dir / "red.bmp").string(), green = (dir / "green.bmp").string(),
                          blue = (dir / "blue.bmp").string();
        mcltest::WriteBmp(red, 32, 32, {255, 0, 0});
        mcltest::WriteBmp(green, 32, 32, {0, 255, 0});
        mcltest::WriteBmp(blue, 32, 32, {0, 0, 255});
        mcltest::Job job;
        job.video = {red, green, (dir / "missing.bmp").string(), blue};
        job.output = (dir / "out.avi").string();
        int errors = 0;
        job.onError = [&](int32_t) {
            ++errors;
            int32_t audio = 1;
            EXPECT_EQ(MclGetErrorEntry(&audio), 2);  // the video list's third
            EXPECT_EQ(audio, 0);
            return c.action;
        };
        job.Run();
        SCOPED_TRACE("action " + std::to_string(c.action));
        EXPECT_EQ(errors, 1);
        EXPECT_EQ(job.result, c.result);
        EXPECT_EQ(job.errorTextInCallback.find("missing.bmp") != std::string::npos, true)
            << job.errorTextInCallback;
        EXPECT_EQ(job.errorFileInCallback, (dir / "missing.bmp").string())
            << "the entry, for its own message";
        // only an error that ended the run stays the last error
        EXPECT_EQ(job.lastError, c.result);
        // one video callback per timeline frame, also when an entry is skipped
        EXPECT_EQ(std::count_if(job.events.begin(), job.events.end(),
                                [](const std::string& e) { return e.starts_with("video:"); }),
                  c.frames + (c.action == MCL_ACTION_ABORT ? 1 : 0));
        mcltest::StreamFacts out = mcltest::ReadBack(job.output, true);
        ASSERT_EQ(out.videoFrames, c.frames);
        if (c.action == MCL_ACTION_CONTINUE) {
            EXPECT_TRUE(Near(out.frameColours[2], {0, 255, 0}));
        }
        if (c.action != MCL_ACTION_ABORT) {
            EXPECT_TRUE(Near(out.frameColours.back(), {0, 0, 255}));
        }
    }
}

// The sound is made ahead of the pictures, but the next song is asked for,
// and its error told, at the frame where the one before it runs out.
TEST(MclErrors, SongsAreAskedForAndToldAboutWhereTheirSoundIsDue)
{
    mcltest::TempDir dir;
    const std::string frame = (dir / "lswj.bmp").string(), tone = (dir / "tone.wav").string();
    mcltest::WriteBmp(frame, 32, 32, {0, 0, 0});
    mcltest::MakeTone(tone, 1.0);
    mcltest::Job job;
    job.video.assign(75, frame);
    job.audio = {tone, (dir / "missing.wav").string(), tone};
    job.output = (dir / "out.avi").string();
    job.onError = [](int32_t) { return MCL_ACTION_SKIP; };
    job.Run();
    ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
    // the timeline frame during which each event came
    auto frameOf = [&](const std::string& event) {
        int64_t frame = -1;
        for (const std::string& e : job.events) {
            if (e == event) return frame;
            if (e.starts_with("video:")) frame = std::stoll(e.substr(6));
        }
        return int64_t(-2);
    };
    EXPECT_EQ(frameOf("asource:0"), 0);
    for (const char* event : {"asource:1", "error:2", "asource:2"}) {
        SCOPED_TRACE(event);
        EXPECT_GE(frameOf(event), 24);
        EXPECT_LE(frameOf(event), 26);
    }
    EXPECT_GE(frameOf("asource:3"), 49);
    EXPECT_LE(frameOf("asource:3"), 51);
    EXPECT_TRUE(job.allOnCallerThread);
}

TEST(MclErrors, UnwritableOutputIsFatal)
{
    mcltest::TempDir dir;
    const std::string frame = (dir / "f.bmp").string();
    mcltest::WriteBmp(frame, 32, 32, {1, 2, 3});
    mcltest::Job job;
    job.video = {frame, frame};
    job.output = (dir / "no-such-folder" / "out.avi").string();
    job.Run();
    EXPECT_EQ(job.result, MCL_ERROR_OUTPUT);
    EXPECT_EQ(job.lastError, MCL_ERROR_OUTPUT);
    EXPECT_FALSE(job.lastErrorText.empty());
    // What the application words its own message from.
    EXPECT_EQ(job.lastErrorSystemCode, ENOENT);
    EXPECT_EQ(job.lastErrorFile, job.output);

    mcltest::Job unnamed;
    unnamed.video = {frame};
    unnamed.Run();
    EXPECT_EQ(unnamed.result, MCL_ERROR_ARGUMENT);
}

TEST(MclErrors, ActionStartsAsAbort)
{
    mcltest::TempDir dir;
    const std::string frame = (dir / "f.bmp").string();
    mcltest::WriteBmp(frame, 32, 32, {1, 2, 3});
    mcltest::Job job;
    job.video = {frame, (dir / "gone.mpg").string(), frame};
    job.output = (dir / "out.avi").string();
    job.Run();
    EXPECT_EQ(job.result, MCL_ERROR_INPUT_OPEN);
    EXPECT_EQ(mcltest::ReadBack(job.output).videoFrames, 1);
}

}  // namespace
