#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>
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

// A song damaged in its middle, or cut short of the length its header
// claims, is an input error told once: the run stops on it, or continues
// with silence for what is missing, so that the next song keeps its place.
TEST(MclMediaInputs, DamagedSongIsAnInputErrorNotAShortSong)
{
    enum class Harm { CutInHalf, GarbageInTheMiddle };
    struct Case {
        const char* name;
        const char* file;
        Harm harm;
    };
    const Case cases[] = {
        {"mp3 cut short of its header's length", "quiet.mp3", Harm::CutInHalf},
        {"flac cut in a frame", "quiet.flac", Harm::CutInHalf},
        {"mp3 with garbage in the middle", "quiet.mp3", Harm::GarbageInTheMiddle},
    };
    mcltest::TempDir dir;
    const std::string loud = (dir / "loud.wav").string();
    mcltest::MakeTone(loud, 0.5);
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, 32, 32, {0, 0, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // a song below the loudness FirstLoudSecond looks for
        const std::filesystem::path quiet = dir / c.file;
        ASSERT_TRUE(
            mcltest::RunFfmpeg("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2,volume=0.02 "
                               "-ac 2 \"" +
                               quiet.string() + "\""));
        const auto size = std::filesystem::file_size(quiet);
        if (c.harm == Harm::CutInHalf) {
            std::filesystem::resize_file(quiet, size / 2 + 1);
        } else {
            std::fstream file(quiet, std::ios::binary | std::ios::in | std::ios::out);
            file.seekp(std::streamoff(size / 3));
            std::mt19937 random(7);
            for (auto i = size / 3; i < size * 2 / 3; ++i) file.put(char(random() & 0xFF));
        }
        for (int32_t action : {MCL_ACTION_ABORT, MCL_ACTION_CONTINUE}) {
            SCOPED_TRACE(action == MCL_ACTION_ABORT ? "abort" : "continue");
            mcltest::Job job;
            job.video.assign(75, frame);
            job.audio = {quiet.string(), loud};
            job.output = (dir / "out.avi").string();
            int errors = 0;
            job.onError = [&](int32_t code) {
                ++errors;
                EXPECT_EQ(code, MCL_ERROR_INPUT_DECODE);
                return action;
            };
            job.Run();
            EXPECT_EQ(errors, 1);
            EXPECT_NE(job.errorTextInCallback.find(c.file), std::string::npos) << job.errorTextInCallback;
            EXPECT_EQ(job.errorFileInCallback, quiet.string()) << "the song, from the sound's own thread";
            if (action == MCL_ACTION_ABORT) {
                EXPECT_EQ(job.result, MCL_ERROR_INPUT_DECODE);
                EXPECT_EQ(job.lastErrorText, job.errorTextInCallback);
                continue;
            }
            ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
            EXPECT_NEAR(mcltest::ReadBack(job.output).audioSeconds, 3.0, 0.05);
            // the header's length, encoder padding included
            EXPECT_NEAR(mcltest::FirstLoudSecond(job.output), 2.0, 0.1);
        }
    }
}

// A song cut short after the application measured it, with a header that
// says nothing of the cut (a WAV, an MP3 without its own length), is held
// against the length the application gives: cut well short of it, it is an
// input error told once, and continuing pads it with silence.
TEST(MclMediaInputs, SongShorterThanTheApplicationsLengthIsAnInputError)
{
    struct Case {
        const char* name;
        const char* file;
        bool cut;      // cut to half its size
        double given;  // the application's length; 0: none
        bool damaged;
    };
    const Case cases[] = {
        {"wav cut in half", "song.wav", true, 4.0, true},
        {"mp3 without a header cut in half", "song.mp3", true, 4.0, true},
        {"wav cut in half, no length given", "song.wav", true, 0, false},
        {"whole wav", "song.wav", false, 4.0, false},
        {"whole mp3 a little shorter than given", "song.mp3", false, 4.4, false},
    };
    mcltest::TempDir dir;
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, 32, 32, {0, 0, 0});
    const std::string before = (dir / "before.wav").string();
    mcltest::MakeTone(before, 0.5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path song = dir / c.file;
        ASSERT_TRUE(
            mcltest::RunFfmpeg("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 -ac 2 "
                               "-write_xing 0 \"" +
                               song.string() + "\""));
        if (c.cut) std::filesystem::resize_file(song, std::filesystem::file_size(song) / 2);
        mcltest::Job job;
        job.video.assign(125, frame);
        job.audio = {before, song.string()};
        job.audioSeconds = {0, c.given};
        job.output = (dir / "out.avi").string();
        int errors = 0;
        job.onError = [&](int32_t code) {
            ++errors;
            EXPECT_EQ(code, MCL_ERROR_INPUT_DECODE);
            // the error names its entry, for the application's own words
            int32_t audio = 0;
            EXPECT_EQ(MclGetErrorEntry(&audio), 1);
            EXPECT_EQ(audio, 1);
            return MCL_ACTION_CONTINUE;
        };
        job.Run();
        ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
        EXPECT_EQ(errors, c.damaged ? 1 : 0) << job.errorTextInCallback;
        if (c.damaged) {
            EXPECT_NE(job.errorTextInCallback.find(c.file), std::string::npos) << job.errorTextInCallback;
        }
        EXPECT_NEAR(mcltest::ReadBack(job.output).audioSeconds, 5.0, 0.05);
    }
}

// Only regular files are read: a pipe or a device under a song's name is an
// entry that cannot be opened, found at once, never a run that waits for ever.
TEST(MclMediaInputs, APipeOrADeviceIsNoInput)
{
    mcltest::TempDir dir;
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, 32, 32, {0, 0, 0});
    const std::filesystem::path pipe = dir / "pipe.mp3", device = dir / "device.mp3";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/urandom", device);
    for (const std::filesystem::path& song : {pipe, device}) {
        SCOPED_TRACE(song.filename().string());
        EXPECT_EQ(MclProbeDuration(song.c_str()), 0.0);
        mcltest::Job job;
        job.video.assign(10, frame);
        job.audio = {song.string()};
        job.output = (dir / "out.avi").string();
        std::vector<int32_t> codes;
        job.onError = [&](int32_t code) {
            codes.push_back(code);
            return MCL_ACTION_CONTINUE;
        };
        job.Run();
        EXPECT_EQ(job.sampleTotal, 0);
        EXPECT_EQ(codes, std::vector<int32_t>{MCL_ERROR_INPUT_OPEN});
        EXPECT_NE(job.errorTextInCallback.find(song.filename().string()), std::string::npos)
            << job.errorTextInCallback;
    }
}

// A damaged stretch in the middle of an MP3 is left out as silence of its
// own time: the next song, and with it the lyrics and pictures timed to the
// songs, starts where it would have started.
TEST(MclMediaInputs, DamageInTheMiddleKeepsTheNextSongInPlace)
{
    struct Case {
        const char* name;
        const char* options;
    };
    const Case cases[] = {
        {"mp3 without a header", "-write_xing 0"},
        {"mp3 with its header", ""},
    };
    mcltest::TempDir dir;
    const std::string loud = (dir / "loud.wav").string();
    mcltest::MakeTone(loud, 0.5);
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, 32, 32, {0, 0, 0});
    auto nextSongStart = [&](const std::filesystem::path& song) {
        mcltest::Job job;
        job.video.assign(200, frame);
        job.audio = {song.string(), loud};
        job.output = (dir / "out.avi").string();
        job.Run();
        EXPECT_EQ(job.result, MCL_OK) << job.lastErrorText;
        return mcltest::FirstLoudSecond(job.output);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path quiet = dir / "quiet.mp3";
        ASSERT_TRUE(
            mcltest::RunFfmpeg("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=6,volume=0.02 "
                               "-ac 2 " +
                               std::string(c.options) + " \"" + quiet.string() + "\""));
        const double whole = nextSongStart(quiet);
        ASSERT_GT(whole, 5.9);
        for (unsigned seed : {1u, 2u, 3u}) {
            SCOPED_TRACE(seed);
            const std::filesystem::path damaged = dir / "damaged.mp3";
            std::filesystem::copy_file(quiet, damaged, std::filesystem::copy_options::overwrite_existing);
            {
                std::fstream file(damaged, std::ios::binary | std::ios::in | std::ios::out);
                std::mt19937 random(seed);
                file.seekp(std::streamoff(std::filesystem::file_size(damaged) / 2 + random() % 1000));
                for (int i = 0; i < 600; ++i) file.put(char(random() & 0xFF));
            }
            // a frame of the timeline is 40 ms; the damage took 52 to 78 ms
            EXPECT_NEAR(nextSongStart(damaged), whole, 0.01);
        }
    }
}

// Junk after a song's last frame, common in files that play well elsewhere,
// costs nothing of its length and is no damage, also against a length
// measured by reading its packets, which takes the junk in.
TEST(MclMediaInputs, JunkAfterTheLastFrameIsNoDamage)
{
    mcltest::TempDir dir;
    const std::string frame = (dir / "lswj.bmp").string();
    mcltest::WriteBmp(frame, 32, 32, {0, 0, 0});
    for (int junk : {3000, 60000}) {
        SCOPED_TRACE(junk);
        const std::filesystem::path song = dir / "junk.mp3";
        ASSERT_TRUE(mcltest::RunFfmpeg(
            "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -ac 2 \"" + song.string() + "\""));
        {
            std::ofstream out(song, std::ios::binary | std::ios::app);
            std::mt19937 random(3);
            for (int i = 0; i < junk; ++i) out.put(char(random() & 0xFF));
        }
        mcltest::Job job;
        job.video.assign(50, frame);
        job.audio = {song.string()};
        job.audioSeconds = {MclProbeDuration(song.c_str())};
        job.output = (dir / "out.avi").string();
        int errors = 0;
        job.onError = [&](int32_t) {
            ++errors;
            return MCL_ACTION_ABORT;
        };
        job.Run();
        EXPECT_EQ(errors, 0) << job.errorTextInCallback;
        ASSERT_EQ(job.result, MCL_OK) << job.lastErrorText;
        EXPECT_NEAR(mcltest::ReadBack(job.output).audioSeconds, 2.0, 0.1);
    }
}

}  // namespace
