#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "production/frame_producer.h"
#include "production/input_lists.h"
#include "production/job_plan.h"
#include "tests/production/fake_encoder.h"

namespace {

using production::BuildInputLists;
using production::FrameProducer;
using production::ProductionJob;
using production::SyncMode;
using production_test::FakeHost;
using production_test::RunFakeEncoder;

constexpr const char* kFrameFile = "/work/zhzp/lswj.bmp";
constexpr const char* kOpening = "/videos/opening.mpg";

struct JobRun {
    FakeHost host;
    production_test::EncodeResult result;
    int64_t calls = 0;
    int64_t position = 0;
    std::size_t frameEntries = 0;
};

// Set-up, lists and conversion of one job against the fakes.
void Produce(const ProductionJob& job, JobRun& run, int progressLag = 0)
{
    FrameProducer producer(job, run.host);
    run.host.producer = &producer;
    producer.JobSetup();
    const auto lists = BuildInputLists(job, kFrameFile);
    run.frameEntries = lists.video.size() - (job.openingFile.empty() ? 0 : 1);
    run.result =
        RunFakeEncoder(lists.video, job.openingFile, job.openingFrames, producer, run.host, progressLag);
    run.calls = producer.Calls();
    run.position = producer.Position();
    EXPECT_TRUE(producer.Finished());
    run.host.producer = nullptr;
}

std::vector<std::string> Frames(char movie, int from, int to)
{
    std::vector<std::string> frames;
    for (int f = from; f <= to; ++f) frames.push_back(movie + std::to_string(f));
    return frames;
}

std::vector<std::string> Repeat(const std::string& frame, int times)
{
    return std::vector<std::string>(times, frame);
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

ProductionJob OnePassJob(int templateFrames)
{
    ProductionJob job;
    job.syncMode = SyncMode::MusicFollowsTemplate;
    job.templateFrames = templateFrames;
    return job;
}

ProductionJob PhotoJob(int templateFrames, int64_t photoFrames)
{
    ProductionJob job;
    job.syncMode = SyncMode::MusicFollowsPhotos;
    job.templateFrames = templateFrames;
    job.photoFrames = photoFrames;
    return job;
}

TEST(FrameProducer, OnePassRendersAllButTheLastFrameThenAborts)
{
    JobRun run;
    Produce(OnePassJob(10), run);
    EXPECT_EQ(run.result.taken, Frames('T', 0, 8));
    EXPECT_TRUE(run.result.aborted);
    EXPECT_EQ(run.host.abortCalls, 1);
    EXPECT_TRUE(run.host.lyricLines.empty()) << "no lyric files: LRC_geci is never set";
    EXPECT_TRUE(run.host.endingPictures.empty());
}

TEST(FrameProducer, RestartsHoldTheLastFrameFiveTimes)
{
    JobRun run;
    Produce(PhotoJob(10, 25), run);
    EXPECT_EQ(run.result.taken, Join({Frames('T', 0, 9), Repeat("T9", 5), Frames('T', 0, 9), Repeat("T9", 5),
                                      Frames('T', 0, 4)}));
    EXPECT_EQ(run.position, 25);
    EXPECT_TRUE(run.result.aborted);
}

TEST(FrameProducer, EndingHoldsTheTemplatesLastFrameThenPlaysTheEnding)
{
    ProductionJob job = OnePassJob(10);
    job.hasEnding = true;
    job.endingFrames = 8;
    JobRun run;
    Produce(job, run);
    EXPECT_EQ(run.result.taken, Join({Frames('T', 0, 8), Repeat("T8", 5), Frames('E', 0, 6)}));
    EXPECT_EQ(run.position, production::JobFrameTarget(job));
    EXPECT_EQ(run.host.endingPictures, std::vector<int>{8});
    EXPECT_EQ(run.host.endingReloads, 1);
    ASSERT_FALSE(run.host.lyricLines.empty());
    EXPECT_EQ(run.host.lyricLines.back(), "");
    EXPECT_EQ(run.host.abortCalls, 1) << "the job ends by aborting, also after an ending";
}

TEST(FrameProducer, EndingTitlePictureIsTheLastFrameShownWhenTheStageEndsOnARestart)
{
    // 20 photo frames of a 10-frame template: the stage ends on frame 9, the
    // call that would otherwise restart the movie.
    ProductionJob job = PhotoJob(10, 20);
    job.hasEnding = true;
    job.endingFrames = 4;
    JobRun run;
    Produce(job, run);
    EXPECT_EQ(run.host.endingPictures, std::vector<int>{9});
    EXPECT_EQ(run.result.taken, Join({Frames('T', 0, 9), Repeat("T9", 5), Frames('T', 0, 9), Repeat("T9", 5),
                                      Frames('E', 0, 2)}));
}

TEST(FrameProducer, OpeningTitleComesFirstAndTheTemplateStartsAfterIt)
{
    ProductionJob job = OnePassJob(6);
    job.openingFile = kOpening;
    job.openingFrames = 30;
    for (int lag : {0, 3}) {
        SCOPED_TRACE(lag);
        JobRun run;
        Produce(job, run, lag);
        // A late report leaves the start's frame 0 in the file a little longer.
        EXPECT_EQ(run.result.taken, Join({Repeat("O", 30), Repeat("T0", lag), Frames('T', 0, 4)}));
        EXPECT_TRUE(run.result.aborted);
    }
}

TEST(FrameProducer, StopByTheUserRendersNothingMore)
{
    FakeHost host;
    FrameProducer producer(PhotoJob(10, 100), host);
    producer.JobSetup();
    for (int i = 0; i < 3; ++i) producer.VideoFrameProc();
    producer.Cancel();
    producer.VideoFrameProc();
    EXPECT_EQ(producer.Position(), 3);
    EXPECT_EQ(host.frameFile, "T2");
    EXPECT_FALSE(host.aborted) << "the form's stop aborts, not the producer";
    EXPECT_FALSE(producer.Finished());
}

TEST(FrameProducer, PreCopyAndSlotRequestsTakeTheNextPhotosInTurn)
{
    // Three photos, two slots, a 10-frame template whose script asks for two
    // photos at frame 0 (ignored: the slots already hold them) and frame 3.
    ProductionJob job = PhotoJob(10, 20);
    job.slotsPerFill = 2;
    FakeHost host;
    host.photoCount = 3;
    host.slotRequests = {{0, "tupian=2"}, {3, "tupian=2"}};
    FrameProducer producer(job, host);
    host.producer = &producer;
    producer.JobSetup();
    EXPECT_EQ(producer.ProducePhotoCursor(), 2) << "past the photos the hand-over copied";

    for (int i = 0; i < 4; ++i) producer.VideoFrameProc();  // frames 0 to 3
    EXPECT_EQ(host.slotDeletions, 1);
    EXPECT_EQ(host.slots, (std::map<int, int>{{1, 3}, {2, 1}}));
    for (int i = 0; i < 3; ++i) producer.VideoFrameProc();  // frames 4 to 6: pre-copy after 5
    EXPECT_EQ(host.slots, (std::map<int, int>{{1, 2}, {2, 3}}));
    EXPECT_EQ(host.slotDeletions, 1) << "the pre-copy overwrites, deleting nothing";
    EXPECT_EQ(producer.ProducePhotoCursor(), 3);

    // Through the restart's holds (the movie at frame 0) no request is served.
    for (int i = 0; i < 3 + 5 + 1; ++i) producer.VideoFrameProc();
    EXPECT_EQ(producer.TemplateFrameNum(), 0);
    EXPECT_EQ(producer.ProducePhotoCursor(), 3);
    EXPECT_EQ(host.copies.size(), 4u);

    // Each fill was foreseen by the one before (the set-up's foresight
    // first), and the pre-copy foresees the next.
    ASSERT_EQ(host.foreseen.size(), 3u);
    for (std::size_t fill = 0; fill < 2; ++fill) {
        EXPECT_EQ(host.foreseen[fill],
                  (std::vector<int>{host.copies[2 * fill].first, host.copies[2 * fill + 1].first}))
            << "fill " << fill;
    }
    EXPECT_EQ(host.foreseen[2], (std::vector<int>{1, 2}));
    EXPECT_EQ(producer.ProducePhotoCursor(), 3) << "foreseeing moves no cursor";
}

TEST(FrameProducer, SlotRequestsAtFrameZeroOrMalformedAreIgnored)
{
    FakeHost host;
    FrameProducer producer(PhotoJob(10, 20), host);
    for (const char* command : {"tupian=3", "tupian=0", "tupian=16", "Tupian=3", "tupian=03"}) {
        producer.PhotoSlotRequest(command);
    }
    EXPECT_EQ(producer.ProducePhotoCursor(), 0);
    producer.VideoFrameProc();
    producer.VideoFrameProc();  // the movie on frame 1
    for (const char* command : {"tupian=0", "tupian=16", "Tupian=3", "tupian=03", "kaishi"}) {
        producer.PhotoSlotRequest(command);
    }
    EXPECT_EQ(host.slotDeletions, 0);
    producer.PhotoSlotRequest("tupian=15");
    EXPECT_EQ(host.slotDeletions, 1);
    EXPECT_EQ(host.copies.size(), 15u);
    EXPECT_EQ(producer.ProducePhotoCursor(), 5) << "15 photos of 5 wrap back to the fifth";
}

TEST(FrameProducer, SongsSwitchAtTheirExactCumulativeLengths)
{
    // 2.5 s + 1.02 s + 3 s: the songs end at frames 62, 88 and 163, where a
    // comparison of "mm:ss" texts would have switched at 00:02 and 00:01.
    ProductionJob job;
    job.syncMode = SyncMode::PhotosFollowMusic;
    job.templateFrames = 40;
    job.music = {{"/m/a.mp3", 2.5}, {"/m/b.mp3", 1.02}, {"/m/c.mp3", 3.0}};
    job.musicSeconds = 6.52;
    job.lyricFileCount = 2;  // the third song has no lyric file
    FakeHost host;
    host.lyricFiles = {{{"00:00.10", "a"}, {"00:01.50", "b"}, {"ti", "title"}}, {{"00:00.00", "c"}}};
    FrameProducer producer(job, host);
    producer.JobSetup();
    EXPECT_EQ(host.lyricLoads, std::vector<std::size_t>{0});

    std::vector<std::string> lineAtCall;  // the line shown after each call
    std::vector<std::size_t> songAtCall;
    std::string shown;
    for (int call = 1; call <= 100; ++call) {
        const std::size_t before = host.lyricLines.size();
        producer.VideoFrameProc();
        if (host.lyricLines.size() > before) shown = host.lyricLines.back();
        lineAtCall.push_back(shown);
        songAtCall.push_back(producer.LrcSongIndex());
    }
    EXPECT_EQ(lineAtCall[0], "a");   // frame 0: lyric time 00:00
    EXPECT_EQ(lineAtCall[23], "a");  // 24 frames: still 00:00
    EXPECT_EQ(lineAtCall[24], "b");  // 25 frames: 00:01
    EXPECT_EQ(songAtCall[60], 0u);
    EXPECT_EQ(songAtCall[61], 1u) << "the 62nd frame is the first song's last";
    EXPECT_EQ(lineAtCall[62], "c") << "the second song's time restarts at 00:00";
    EXPECT_EQ(songAtCall[86], 1u);
    EXPECT_EQ(songAtCall[87], 2u);
    EXPECT_EQ(lineAtCall[87], "") << "a song without lyrics clears the line";
    EXPECT_EQ(host.lyricLoads, (std::vector<std::size_t>{0, 1}));
    // Holds of the restart at frame 40 are frames of the music too.
    EXPECT_EQ(producer.Position(), 100 - 5 * 2);
}

struct ListCase {
    SyncMode mode;
    int templateFrames;
    int64_t baseFrames;  // the photo frames or the music's frames; one pass ignores it
    int64_t openingFrames;
    int endingFrames;  // 0: no ending title
};

void PrintTo(const ListCase& c, std::ostream* os)
{
    *os << production::SyncModeKey(c.mode) << " template=" << c.templateFrames << " base=" << c.baseFrames
        << " opening=" << c.openingFrames << " ending=" << c.endingFrames;
}

class VideoListLength : public testing::TestWithParam<ListCase> {};

TEST_P(VideoListLength, CoversEveryCallOfTheProducer)
{
    const ListCase& c = GetParam();
    ProductionJob job;
    job.syncMode = c.mode;
    job.templateFrames = c.templateFrames;
    job.photoFrames = c.baseFrames;
    job.musicSeconds = static_cast<double>(c.baseFrames) * 0.04;
    job.music = {{"/m/song.mp3", job.musicSeconds}};
    if (c.openingFrames > 0) {
        job.openingFile = kOpening;
        job.openingFrames = c.openingFrames;
    }
    job.hasEnding = c.endingFrames > 0;
    job.endingFrames = c.endingFrames;
    for (int lag : {0, 1}) {
        SCOPED_TRACE(lag);
        JobRun run;
        Produce(job, run, lag);
        EXPECT_TRUE(run.result.aborted) << "the video list ran dry before the job's end";
        EXPECT_GE(static_cast<int64_t>(run.frameEntries), run.calls);
        EXPECT_EQ(run.position, production::JobFrameTarget(job));
        EXPECT_EQ(run.calls, production::ProducerCallCount(job));
        const int64_t lateStart = job.openingFile.empty() ? 0 : lag;
        EXPECT_EQ(run.result.taken.size(),
                  static_cast<std::size_t>(production::JobOutputFrames(job) + lateStart));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, VideoListLength,
    testing::Values(ListCase{SyncMode::MusicFollowsTemplate, 10, 0, 0, 0},
                    ListCase{SyncMode::MusicFollowsTemplate, 10, 0, 25, 8},
                    ListCase{SyncMode::MusicFollowsTemplate, 2, 0, 0, 2},
                    ListCase{SyncMode::MusicFollowsPhotos, 10, 18, 0, 0},  // 2 x (template - 1)
                    ListCase{SyncMode::MusicFollowsPhotos, 10, 19, 0, 0},
                    ListCase{SyncMode::MusicFollowsPhotos, 10, 27, 12, 6},  // 3 x (template - 1)
                    ListCase{SyncMode::MusicFollowsPhotos, 10, 20, 0, 5},   // 2 x template
                    ListCase{SyncMode::MusicFollowsPhotos, 10, 21, 0, 0},
                    ListCase{SyncMode::MusicFollowsPhotos, 10, 9, 0, 0},
                    ListCase{SyncMode::MusicFollowsPhotos, 10, 1, 0, 1},
                    ListCase{SyncMode::MusicFollowsPhotos, 1, 7, 0, 0},
                    ListCase{SyncMode::PhotosFollowMusic, 10, 36, 0, 0},    // 4 x (template - 1)
                    ListCase{SyncMode::PhotosFollowMusic, 10, 45, 40, 10},  // 5 x (template - 1)
                    ListCase{SyncMode::PhotosFollowMusic, 250, 1500, 0, 120},
                    ListCase{SyncMode::PhotosFollowMusic, 6, 2, 0, 3}),
    [](const testing::TestParamInfo<ListCase>& info) {
        const ListCase& c = info.param;
        return std::string(production::SyncModeKey(c.mode)) + "_template" + std::to_string(c.templateFrames) +
               "_base" + std::to_string(c.baseFrames) + "_open" + std::to_string(c.openingFrames) + "_end" +
               std::to_string(c.endingFrames);
    });

}  // namespace
