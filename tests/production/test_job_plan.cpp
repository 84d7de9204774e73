#include <gtest/gtest.h>

#include <string>

#include "production/input_lists.h"
#include "production/job_plan.h"
#include "production/lyric_timeline.h"
#include "production/photo_slots.h"
#include "production/production_settings.h"
#include "production/sync_mode.h"

namespace {

using namespace production;

TEST(JobPlan, FrameTargetBySyncModeAndEnding)
{
    struct Case {
        SyncMode mode;
        int templateFrames;
        int64_t photoFrames;
        double musicSeconds;
        int endingFrames;  // 0: none
        int64_t target;
    };
    const Case cases[] = {
        {SyncMode::MusicFollowsTemplate, 250, 0, 0.0, 0, 249},
        {SyncMode::MusicFollowsTemplate, 250, 0, 0.0, 120, 249 + 119},
        {SyncMode::MusicFollowsPhotos, 250, 600, 0.0, 120, 719},
        {SyncMode::PhotosFollowMusic, 250, 0, 100.0, 0, 2500},
        {SyncMode::PhotosFollowMusic, 250, 0, 0.12, 0, 3},
        {SyncMode::PhotosFollowMusic, 250, 0, 0.0, 120, 119},
    };
    for (const Case& c : cases) {
        ProductionJob job;
        job.syncMode = c.mode;
        job.templateFrames = c.templateFrames;
        job.photoFrames = c.photoFrames;
        job.musicSeconds = c.musicSeconds;
        job.hasEnding = c.endingFrames > 0;
        job.endingFrames = c.endingFrames;
        EXPECT_EQ(JobFrameTarget(job), c.target) << SyncModeKey(c.mode);
    }
}

TEST(JobPlan, EmptyJobsAreRecognised)
{
    ProductionJob noMusic;
    noMusic.syncMode = SyncMode::PhotosFollowMusic;
    noMusic.templateFrames = 250;
    EXPECT_TRUE(IsEmptyJob(noMusic));
    ProductionJob noPhotoFrames;
    noPhotoFrames.syncMode = SyncMode::MusicFollowsPhotos;
    noPhotoFrames.templateFrames = 250;
    EXPECT_TRUE(IsEmptyJob(noPhotoFrames));
    ProductionJob onePass;
    onePass.templateFrames = 1;
    EXPECT_TRUE(IsEmptyJob(onePass));
    onePass.templateFrames = 2;
    EXPECT_FALSE(IsEmptyJob(onePass));
}

TEST(InputLists, OpeningTitleLeadsBothListsAndMusicFollowsInOrder)
{
    ProductionJob job;
    job.syncMode = SyncMode::MusicFollowsTemplate;
    job.templateFrames = 10;
    job.openingFile = "/v/open.mpg";
    job.openingFrames = 50;
    job.hasEnding = true;
    job.endingFrames = 8;
    job.music = {{"/m/1.mp3", 3.0}, {"/m/2.wav", 4.0}};
    const InputLists lists = BuildInputLists(job, "/w/zhzp/lswj.bmp");
    ASSERT_FALSE(lists.video.empty());
    EXPECT_EQ(lists.video.front(), "/v/open.mpg");
    EXPECT_EQ(lists.video.size(), 1u + 9 + 5 + 7 + kVideoListMargin);
    EXPECT_EQ(lists.video.back(), "/w/zhzp/lswj.bmp");
    EXPECT_EQ(lists.audio, (std::vector<std::string>{"/v/open.mpg", "/m/1.mp3", "/m/2.wav"}));

    job.openingFile.clear();
    job.music.clear();
    const InputLists plain = BuildInputLists(job, "/w/zhzp/lswj.bmp");
    EXPECT_EQ(plain.video.front(), "/w/zhzp/lswj.bmp");
    EXPECT_TRUE(plain.audio.empty());
}

TEST(LyricTimeline, TimeTextLookupAndSongEnds)
{
    EXPECT_EQ(LyricTimeText(1), "00:00");
    EXPECT_EQ(LyricTimeText(25), "00:01");
    EXPECT_EQ(LyricTimeText(5000), "03:20");
    EXPECT_EQ(LyricTimeText(89999), "59:59");
    EXPECT_EQ(LyricTimeText(90000), "00:00") << "hours are not part of the lyric time";

    const LyricIndex index = {
        {"01:02.00", "Hello"}, {"00:12.50", "Hello"}, {"00:12.90", "x"}, {"TI", "Title"}};
    ASSERT_NE(FindLyricLine(index, "00:12"), nullptr);
    EXPECT_EQ(FindLyricLine(index, "00:12"), &index[1]) << "the first row in table order";
    EXPECT_EQ(FindLyricLine(index, "00:13"), nullptr);
    EXPECT_EQ(FindLyricLine(index, "ti"), &index[3]);

    EXPECT_EQ(SongEndFrames({2.5, 1.02, 3.0}), (std::vector<int64_t>{62, 88, 163}));
    // Thirty songs of 0.99 s: per-song truncation would lose a frame each.
    const std::vector<int64_t> ends = SongEndFrames(std::vector<double>(30, 0.99));
    EXPECT_EQ(ends.back(), 742);
}

TEST(PhotoSlots, OnlyTheFifteenRequestsAreServed)
{
    EXPECT_EQ(ParseSlotRequest("tupian=1"), 1);
    EXPECT_EQ(ParseSlotRequest("tupian=15"), 15);
    for (const char* command : {"tupian=0", "tupian=16", "tupian=03", "TUPIAN=3", "tupian=", "tupian=3 ",
                                "tupian=-1", "tupian=1x", "xtupian=1"}) {
        EXPECT_FALSE(ParseSlotRequest(command).has_value()) << command;
    }
}

TEST(ProductionSettings, PictureSizeByQualityAndTheTwoCopyRule)
{
    EXPECT_EQ(PictureSizeForQuality("qing_xi"), (PictureSize{352, 288}));
    EXPECT_EQ(PictureSizeForQuality("gao_qing_xi"), (PictureSize{704, 576}));
    EXPECT_EQ(PictureSizeForQuality("chao_gao_qing_xi"), (PictureSize{1408, 1152}));
    EXPECT_FALSE(PictureSizeForQuality("").has_value());
    EXPECT_FALSE(PictureSizeForQuality("Qing_xi").has_value());
    EXPECT_EQ(NextMovieCopy(1), 2);
    EXPECT_EQ(NextMovieCopy(2), 1);
    EXPECT_EQ(NextMovieCopy(0), 1);
}

TEST(SyncModeKeys, RoundTripAndUnknownKey)
{
    for (SyncMode mode :
         {SyncMode::MusicFollowsTemplate, SyncMode::MusicFollowsPhotos, SyncMode::PhotosFollowMusic}) {
        EXPECT_EQ(ParseSyncMode(SyncModeKey(mode)), mode);
    }
    EXPECT_FALSE(ParseSyncMode("yinyue").has_value());
}

}  // namespace
