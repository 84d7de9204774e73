// The decoding engine under the player: lengths, time texts, decoding,
// picture conversion and the decode-ahead pipeline.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "platform/media/av_handles.h"
#include "platform/media/decoder.h"
#include "platform/media/frame_scaler.h"
#include "platform/media/pipeline.h"
#include "platform/media/probe.h"
#include "platform/media/time_text.h"
#include "tests/media/media_files.h"

namespace fs = std::filesystem;
using namespace media;
using namespace media_test;

namespace {

constexpr double kFrame = 0.04;  // one video frame of the album

struct LengthCase {
    const char* name;
    fs::path (*file)();
    double seconds;
    double tolerance;
};

void PrintTo(const LengthCase& c, std::ostream* out) { *out << c.name; }

class MediaLength : public testing::TestWithParam<LengthCase> {};

TEST_P(MediaLength, MeasuresTheToneLength)
{
    const LengthCase& c = GetParam();
    const MediaInfo info = ProbeMedia(c.file());
    ASSERT_TRUE(info.Ok()) << info.error;
    EXPECT_NEAR(info.duration, c.seconds, c.tolerance);
    EXPECT_EQ(TimeText(info.duration), TimeText(c.seconds));
}

INSTANTIATE_TEST_SUITE_P(Files, MediaLength,
                         testing::Values(LengthCase{"wav", WavTone3s, 3.0, 1e-6},
                                         LengthCase{"cbr_mp3", CbrMp3Tone3s, 3.0, kFrame},
                                         LengthCase{"vbr_noise_first", VbrMp3NoiseFirst, 3.0, kFrame},
                                         LengthCase{"vbr_noise_last", VbrMp3NoiseLast, 3.0, kFrame},
                                         LengthCase{"template_avi", TemplateAvi, 2.0, kFrame},
                                         LengthCase{"opening_mpg", OpeningMpg, 2.0, kFrame}),
                         [](const auto& info) { return std::string(info.param.name); });

// The VBR files only test the packet scan if the container's own length is
// a bit-rate guess that is visibly wrong.
TEST(MediaLength, VbrFixturesDefeatTheBitRateGuess)
{
    for (const fs::path& file : {VbrMp3NoiseFirst(), VbrMp3NoiseLast()}) {
        std::string error;
        FormatPtr format = OpenMediaFile(file.string(), nullptr, error);
        ASSERT_TRUE(format) << error;
        EXPECT_EQ(format->duration_estimation_method, AVFMT_DURATION_FROM_BITRATE);
        EXPECT_GT(std::abs(static_cast<double>(format->duration) / AV_TIME_BASE - 3.0), 0.5) << file;
    }
}

TEST(MediaLength, UnreadableFilesHaveNoLengthAndAnError)
{
    for (const fs::path& file : {Garbage("garbage.mp3"), Garbage("garbage.avi"), TextFile("text.mp3"),
                                 EmptyFile("empty.wav"), TempDir() / "missing.mp3"}) {
        const MediaInfo info = ProbeMedia(file);
        EXPECT_FALSE(info.Ok()) << file;
        EXPECT_EQ(info.duration, 0) << file;
        Decoder decoder;
        std::string error;
        EXPECT_FALSE(decoder.Open(file, nullptr, error)) << file;
        EXPECT_FALSE(error.empty());
    }
}

// A WAV whose LIST chunk claims 2 GB: FFmpeg would allocate and clear it.
TEST(MediaLength, ADamagedHeaderIsRefusedWithoutTakingGigabytes)
{
    const fs::path file = fs::path(VELMORA_SOURCE_DIR) / "fuzz/corpus/fuzz_media_probe/huge_list_chunk.wav";
    ASSERT_TRUE(fs::exists(file));
    const MediaInfo info = ProbeMedia(file);
    EXPECT_FALSE(info.Ok());
    EXPECT_EQ(info.duration, 0);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 1024L * 1024) << "peak memory in KiB";
}

TEST(MediaLength, ACancelledProbeGivesUp)
{
    std::atomic<bool> cancel{true};
    const MediaInfo info = ProbeMedia(VbrMp3NoiseFirst(), &cancel);
    EXPECT_FALSE(info.Ok());
    EXPECT_EQ(info.duration, 0);
}

TEST(TimeText, MinutesAndTruncatedSeconds)
{
    const std::pair<double, const char*> cases[] = {
        {0, "00:00"},     {0.999, "00:00"}, {3.0, "00:03"},         {2.9999999, "00:03"}, {59.99, "00:59"},
        {60, "01:00"},    {200.5, "03:20"}, {3599.9, "59:59"},      {3600, "60:00"},      {5999, "99:59"},
        {6000, "100:00"}, {-4, "00:00"},    {std::nan(""), "00:00"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(TimeText(seconds), text) << seconds;
}

TEST(Decoder, WavDecodesToEverySampleInStereo)
{
    Decoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.Open(WavTone3s(), nullptr, error)) << error;
    EXPECT_TRUE(decoder.HasAudio());
    EXPECT_FALSE(decoder.HasVideo());
    std::vector<int16_t> samples;
    std::vector<VideoFrame> pictures;
    while (decoder.Step(samples, pictures)) {}
    EXPECT_TRUE(pictures.empty());
    ASSERT_EQ(samples.size() % kOutputChannels, 0u);
    const size_t frames = samples.size() / kOutputChannels;
    EXPECT_NEAR(static_cast<double>(frames), 3.0 * kOutputRate, 64);
    // A mono tone lands on both channels and is not silent.
    int16_t loudest = 0;
    for (size_t i = 0; i < frames; ++i) {
        EXPECT_EQ(samples[2 * i], samples[2 * i + 1]);
        loudest = std::max<int16_t>(loudest, samples[2 * i]);
        if (samples[2 * i] != samples[2 * i + 1]) break;
    }
    EXPECT_GT(loudest, 1000);
}

// A few damaged frames in the middle of a song are left out as silence of
// their time, so that the rest plays when it belongs; junk after the last
// frame adds nothing.
TEST(Decoder, DamageInTheMiddleKeepsTheSoundAfterItInPlace)
{
    auto sound_frames = [](const std::filesystem::path& file) {
        Decoder decoder;
        std::string error;
        EXPECT_TRUE(decoder.Open(file, nullptr, error)) << error;
        std::vector<int16_t> samples;
        std::vector<VideoFrame> pictures;
        while (decoder.Step(samples, pictures)) {}
        return static_cast<double>(samples.size() / kOutputChannels);
    };
    const double whole = sound_frames(CbrMp3Tone3s());
    EXPECT_NEAR(sound_frames(Mp3WithJunkAfterItsEnd()), whole, 1.0);
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const std::filesystem::path damaged = TempDir() / ("damaged" + std::to_string(seed) + ".mp3");
        std::filesystem::copy_file(CbrMp3Tone3s(), damaged,
                                   std::filesystem::copy_options::overwrite_existing);
        {
            std::fstream file(damaged, std::ios::binary | std::ios::in | std::ios::out);
            std::mt19937 random(seed);
            file.seekp(std::streamoff(std::filesystem::file_size(damaged) / 2 + random() % 1000));
            for (int i = 0; i < 600; ++i) file.put(static_cast<char>(random() & 0xFF));
        }
        // without the silence 2 or 3 frames of 1152 samples went missing;
        // the stream's bit rate puts it within 10 ms
        EXPECT_NEAR(sound_frames(damaged), whole, 0.01 * kOutputRate);
    }
}

TEST(Decoder, TemplateAviGivesTimedPicturesAndSound)
{
    Decoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.Open(TemplateAvi(), nullptr, error)) << error;
    ASSERT_TRUE(decoder.HasAudio());
    ASSERT_TRUE(decoder.HasVideo());
    std::vector<int16_t> samples;
    std::vector<VideoFrame> pictures;
    while (decoder.Step(samples, pictures)) {}
    ASSERT_EQ(pictures.size(), 50u);  // 2 s at 25 frames a second
    for (size_t i = 0; i < pictures.size(); ++i)
        EXPECT_NEAR(pictures[i].time, static_cast<double>(i) * kFrame, 1e-6);
    EXPECT_NEAR(static_cast<double>(samples.size() / kOutputChannels), 2.0 * kOutputRate,
                kOutputRate * kFrame);
}

std::vector<uint32_t> Render(const VideoFrame& picture, int width, int height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xDEADBEEF);
    FrameScaler scaler;
    EXPECT_TRUE(scaler.Scale(*picture.frame, pixels.data(), width, height, width));
    return pixels;
}

TEST(FrameScaler, RedComesOutAs0x00BBGGRRScaledToThePane)
{
    Pipeline pipeline(RedAvi(), Pipeline::Mode::Stepped);
    ASSERT_TRUE(pipeline.Ok()) << pipeline.Error();
    pipeline.DecodeUntil(0);
    std::optional<VideoFrame> first = pipeline.TakeFrameAt(0);
    ASSERT_TRUE(first);
    // A pane of another size and a stride wider than the row.
    const int width = 100, height = 30, stride = 128;
    std::vector<uint32_t> pixels(static_cast<size_t>(stride) * height, 0xDEADBEEF);
    FrameScaler scaler;
    ASSERT_TRUE(scaler.Scale(*first->frame, pixels.data(), width, height, stride));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = pixels[static_cast<size_t>(y) * stride + x];
            EXPECT_EQ(pixel >> 24, 0u);
            EXPECT_GT(pixel & 0xFF, 200u) << x << "," << y;
            EXPECT_LT((pixel >> 8) & 0xFF, 40u);
            EXPECT_LT((pixel >> 16) & 0xFF, 40u);
            if (HasFailure()) return;
        }
        EXPECT_EQ(pixels[static_cast<size_t>(y) * stride + width], 0xDEADBEEF);  // past the row
    }
}

TEST(Pipeline, SteppedRunHandsOutThePictureDueAtEachTime)
{
    Pipeline pipeline(TemplateAvi(), Pipeline::Mode::Stepped);
    ASSERT_TRUE(pipeline.Ok()) << pipeline.Error();
    EXPECT_TRUE(pipeline.HasAudio());
    pipeline.DecodeUntil(0);
    std::optional<VideoFrame> at_start = pipeline.TakeFrameAt(0);
    ASSERT_TRUE(at_start);
    EXPECT_NEAR(at_start->time, 0, 1e-9);
    EXPECT_FALSE(pipeline.TakeFrameAt(0.01)) << "nothing new is due yet";
    pipeline.DecodeUntil(0.5);
    std::optional<VideoFrame> half = pipeline.TakeFrameAt(0.5);
    ASSERT_TRUE(half);
    EXPECT_NEAR(half->time, 0.48, 1e-6);  // frame 12, the last one due by 0.5 s
    EXPECT_NE(Render(*at_start, 88, 72), Render(*half, 88, 72)) << "the picture moves";
    EXPECT_GT(pipeline.Sound().Buffered(), 0u);
    EXPECT_FALSE(pipeline.Exhausted());
    pipeline.DecodeUntil(10);
    EXPECT_TRUE(pipeline.TakeFrameAt(10));
    EXPECT_TRUE(pipeline.Exhausted());
}

TEST(Pipeline, ThreadedRunDecodesAheadUntilTheEnd)
{
    Pipeline pipeline(TemplateAvi(), Pipeline::Mode::Threaded);
    ASSERT_TRUE(pipeline.Ok()) << pipeline.Error();
    // Play the sound out as a device would, and take the pictures due by
    // that audio clock.
    std::vector<int16_t> sink(4096 * kOutputChannels);
    size_t frames = 0;
    double last_picture = -1;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!pipeline.Exhausted() && std::chrono::steady_clock::now() < give_up) {
        frames += pipeline.Sound().Pop(sink.data(), 1024);
        if (auto picture = pipeline.TakeFrameAt(static_cast<double>(frames) / kOutputRate)) {
            EXPECT_GT(picture->time, last_picture);
            last_picture = picture->time;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    while (size_t got = pipeline.Sound().Pop(sink.data(), 4096)) frames += got;
    EXPECT_TRUE(pipeline.Exhausted());
    EXPECT_NEAR(last_picture, 1.96, 1e-6);
    EXPECT_NEAR(static_cast<double>(frames), 2.0 * kOutputRate, kOutputRate * kFrame);
}

TEST(Pipeline, ClosingWhileDecodingReturnsPromptly)
{
    for (int i = 0; i < 5; ++i) {
        Pipeline pipeline(TemplateAvi(), Pipeline::Mode::Threaded);
        EXPECT_TRUE(pipeline.Ok());
    }
}

TEST(AudioRing, WrapsAroundAndRefusesOverflow)
{
    AudioRing ring(5);
    const int16_t in[] = {1, -1, 2, -2, 3, -3, 4, -4};
    EXPECT_EQ(ring.Push(in, 4), 4u);
    int16_t out[16] = {};
    EXPECT_EQ(ring.Pop(out, 3), 3u);
    EXPECT_EQ(out[4], 3);
    EXPECT_EQ(out[5], -3);
    EXPECT_EQ(ring.Push(in, 4), 4u);  // wraps past the end of the storage
    EXPECT_EQ(ring.Push(in, 4), 0u);  // full: nothing fits
    EXPECT_EQ(ring.Buffered(), 5u);
    EXPECT_EQ(ring.Pop(out, 8), 5u);
    const int16_t expected[] = {4, -4, 1, -1, 2, -2, 3, -3, 4, -4};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], expected[i]) << i;
    EXPECT_EQ(ring.Pop(out, 1), 0u);
}

}  // namespace
