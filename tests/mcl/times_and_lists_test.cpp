#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "mcl/mcl.h"
#include "tests/mcl/media_support.h"

namespace {

TEST(MclTimeText, FormatsHoursMinutesSeconds)
{
    struct Case {
        double seconds;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00:00"},    {0.99, "00:00:00"}, {59.5, "00:00:59"},       {60, "00:01:00"},
        {3599, "00:59:59"}, {3600, "01:00:00"}, {36000 + 61, "10:01:01"}, {360000, "100:00:00"},
        {-5, "00:00:00"},   {NAN, "00:00:00"},  {INFINITY, "00:00:00"},
    };
    for (const Case& c : cases) {
        char buffer[16];
        EXPECT_TRUE(MclMakeTimeStr(c.seconds, buffer, sizeof buffer)) << c.seconds;
        EXPECT_STREQ(buffer, c.text) << c.seconds;
    }
}

TEST(MclTimeText, ShortBufferIsTruncatedAndReported)
{
    char buffer[5] = "xxxx";
    EXPECT_FALSE(MclMakeTimeStr(3661, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "01:0");
    EXPECT_FALSE(MclMakeTimeStr(1, nullptr, 0));
}

TEST(MclRemainingTime, UsesTheLargerFraction)
{
    struct Case {
        double elapsed;
        int64_t frames, totalFrames, samples, totalSamples;
        double remaining;
    };
    const Case cases[] = {
        {10, 25, 100, 0, 0, 30},           // a quarter done
        {10, 25, 100, 88200, 176400, 10},  // samples ahead: half done
        {10, 50, 100, 44100, 441000, 10},  // frames ahead
        {10, 0, 100, 0, 1000, 0},          // nothing done yet: unknown
        {10, 100, 100, 0, 0, 0},           // done
        {10, 10, 0, 0, 0, 0},              // no totals
        {0, 10, 100, 0, 0, 0},             // not started
    };
    for (const Case& c : cases)
        EXPECT_NEAR(MclEstimateRemaining(c.elapsed, c.frames, c.totalFrames, c.samples, c.totalSamples),
                    c.remaining, 1e-9)
            << c.frames << "/" << c.totalFrames << " " << c.samples << "/" << c.totalSamples;
}

TEST(MclList, NamesAreCopiedWithinTheBuffer)
{
    MclList* list = MclListCreate();
    MclListAdd(list, "C:/zhzp/lswj.bmp");
    MclListAdd(list, "短.mp3");
    EXPECT_EQ(MclListCount(list), 2);
    char buffer[264];
    ASSERT_TRUE(MclListGetName(list, 0, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "C:/zhzp/lswj.bmp");
    ASSERT_TRUE(MclListGetName(list, 1, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "短.mp3");
    EXPECT_FALSE(MclListGetName(list, 2, buffer, sizeof buffer));
    EXPECT_FALSE(MclListGetName(list, -1, buffer, sizeof buffer));
    char small[4];
    EXPECT_FALSE(MclListGetName(list, 0, small, sizeof small));
    EXPECT_STREQ(small, "C:/");
    MclListFree(list);
}

TEST(MclList, CountsFramesAndSamples)
{
    mcltest::TempDir dir;
    const std::string bmp = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(bmp, 32, 32, {255, 0, 0});
    const std::string video = (dir / "opening.avi").string();
    mcltest::MakeVideo(video, 1.0, 25, true);
    const std::string tone = (dir / "song.wav").string();
    mcltest::MakeTone(tone, 1.5);

    const double d = MclProbeDuration(video.c_str());
    const int64_t videoFrames = MclSecondsToFrames(d);
    ASSERT_GT(videoFrames, 20);

    MclList* frames = MclListCreate();
    MclListAdd(frames, video.c_str());
    for (int i = 0; i < 7; ++i) MclListAdd(frames, bmp.c_str());
    MclListAdd(frames, (dir / "not-yet-written.bmp").string().c_str());  // pictures count without being read
    MclListAdd(frames, (dir / "missing.mpg").string().c_str());
    EXPECT_EQ(MclListGetFrameCount(frames), videoFrames + 8);
    MclListFree(frames);

    MclList* samples = MclListCreate();
    MclListAdd(samples, video.c_str());
    MclListAdd(samples, tone.c_str());
    MclListAdd(samples, tone.c_str());
    EXPECT_EQ(MclListGetSampleCount(samples), videoFrames * 1764 + 2 * 66150);
    MclListFree(samples);
}

TEST(MclProbe, DurationOfFilesAndFailures)
{
    mcltest::TempDir dir;
    const std::string tone = (dir / "tone.wav").string();
    mcltest::MakeTone(tone, 1.5);
    EXPECT_NEAR(MclProbeDuration(tone.c_str()), 1.5, 0.001);

    // raw ADTS carries no duration: it is only estimated from the bit rate,
    // so the packets are scanned
    const std::string adts = (dir / "tone.aac").string();
    ASSERT_TRUE(mcltest::RunFfmpeg("-f lavfi -i sine=duration=1.2:sample_rate=44100 -c:a aac -b:a 32k \"" +
                                   adts + "\""));
    EXPECT_NEAR(MclProbeDuration(adts.c_str()), 1.2, 0.05);

    const std::string junk = (dir / "junk.mp3").string();
    {
        FILE* f = fopen(junk.c_str(), "wb");
        fputs("not a media file", f);
        fclose(f);
    }
    EXPECT_EQ(MclProbeDuration(junk.c_str()), 0);
    EXPECT_EQ(MclProbeDuration((dir / "missing.wav").string().c_str()), 0);
    EXPECT_EQ(MclProbeDuration(nullptr), 0);
}

}  // namespace
