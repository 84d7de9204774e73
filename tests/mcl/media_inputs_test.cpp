#include <gtest/gtest.h>

#include <string>

#include "mcl/mcl.h"
#include "tests/mcl/media_support.h"

namespace {

TEST(MclMediaInputs, VideoFileGivesTheFramesOfItsProbedDuration)
{
    mcltest::TempDir dir;
    const std::string opening = (dir / "opening.avi").string();
    mcltest::MakeVideo(opening, 1.3, 30, true);
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, 160, 120, {0, 0, 255});
    const int64_t openingFrames = MclSecondsToFrames(MclProbeDuration(opening.c_str()));
    ASSERT_GE(openingFrames, 30);

    mcltest::Job job;
    job.video = {opening, frame, frame, frame};
    job.audio = {opening};
    job.output = (dir / "out.avi").string();
    int64_t frameAtFirstPicture = -1, lastProgress = -1;
    job.onProgress = [&](int32_t code, int64_t f, int64_t) {
        if (code == MCL_PROGRESS_FRAME) lastProgress = f;
    };
    job.onVideo = [&](MclConverter*, int64_t f) {
        if (f == openingFrames) frameAtFirstPicture = lastProgress;
    };
    job.Run();
    ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
    EXPECT_EQ(job.frameTotal, openingFrames + 3);
    // production starts its own frames when the progress shows the opening's count
    EXPECT_EQ(frameAtFirstPicture, openingFrames);

    mcltest::StreamFacts out = mcltest::ReadBack(job.output, true);
    EXPECT_EQ(out.width, 160);
    EXPECT_EQ(out.videoFrames, openingFrames + 3);
    EXPECT_NEAR(out.audioSeconds, (openingFrames + 3) * 0.04, 0.05);
    ASSERT_EQ(out.frameColours.size(), size_t(openingFrames + 3));
    EXPECT_GT(out.frameColours.back().b, 200);
    EXPECT_LT(out.frameColours[size_t(openingFrames - 1)].b, 200);
}

TEST(MclMediaInputs, AudioIsPaddedOrCutToTheVideo)
{
    struct Case {
        const char* name;
        double toneSeconds;  // 0: no audio entry
    };
    const Case cases[] = {{"no audio", 0}, {"short song", 0.4}, {"long song", 3.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mcltest::TempDir dir;
        const std::string frame = (dir / "lswj.bmp").string();
        mcltest::WriteBmp(frame, 64, 64, {10, 200, 10});
        mcltest::Job job;
        job.video.assign(30, frame);
        if (c.toneSeconds > 0) {
            job.audio = {(dir / "song.wav").string()};
            mcltest::MakeTone(job.audio[0], c.toneSeconds, 22050);  // resampled to the output's rate
        }
        job.output = (dir / "out.mpg").string();
        job.presetKind = MCL_PRESET_VCD;
        job.Run();
        ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
        mcltest::StreamFacts out = mcltest::ReadBack(job.output);
        EXPECT_EQ(out.audioCodec, "mp2");
        EXPECT_EQ(out.videoFrames, 30);
        EXPECT_NEAR(out.audioSeconds, 1.2, 0.05);
    }
}

TEST(MclMediaInputs, SilentOpeningVideoHoldsTheSongBackByItsLength)
{
    mcltest::TempDir dir;
    const std::string opening = (dir / "opening.avi").string();
    mcltest::MakeVideo(opening, 0.8, 25, false);
    const std::string song = (dir / "song.wav").string();
    mcltest::MakeTone(song, 2.0);
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, 160, 120, {0, 0, 255});
    const int64_t openingFrames = MclSecondsToFrames(MclProbeDuration(opening.c_str()));

    mcltest::Job job;
    job.video = {opening};
    job.video.insert(job.video.end(), 20, frame);
    job.audio = {opening, song};
    job.output = (dir / "out.mpg").string();
    job.presetKind = MCL_PRESET_DVD;
    job.Run();
    ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
    EXPECT_EQ(job.sampleTotal, openingFrames * 1764 + 88200);
    EXPECT_NEAR(mcltest::FirstLoudSecond(job.output), openingFrames * 0.04, 0.02);
    EXPECT_NEAR(mcltest::ReadBack(job.output).audioSeconds, (openingFrames + 20) * 0.04, 0.05);
}

}  // namespace
