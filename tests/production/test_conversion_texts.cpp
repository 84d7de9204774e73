#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "production/completion.h"
#include "production/conversion_texts.h"
#include "production/format_preset.h"
#include "production/progress_log.h"

namespace {

using namespace production;

TEST(ConversionTexts, ProgressLineForEachStatusCode)
{
    struct Case {
        int code;
        int64_t frame, sample;
        ProgressTime time;
        const char* line;
    };
    const Case cases[] = {
        {0, 5, 9, ProgressTime::Elapsed, "Processing time: 00:00:07"},
        {1, 5, 9, ProgressTime::None, "Preparing conversion..."},
        {2, 12, 0, ProgressTime::None, "Reducing colors, done frames: 12"},
        {3, 250, 441000, ProgressTime::Remaining, "Frame: 250, Sample: 441000, Time Left: 00:00:07"},
        {7, 1, 1, ProgressTime::None, "Unrecognized status code"},
        {-1, 1, 1, ProgressTime::None, "Unrecognized status code"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ProgressTimeFor(c.code), c.time);
        EXPECT_EQ(ProgressLine(c.code, c.frame, c.sample, "00:00:07"), c.line);
    }
    EXPECT_EQ(TotalFramesLine(1525), "Total frames:  1525");
    EXPECT_EQ(TotalSamplesLine(2646000), "Total samples: 2646000");
}

TEST(ConversionTexts, ErrorLineFallsBackToTheCode)
{
    EXPECT_EQ(EncoderErrorLine(4, "Cannot open output file"), "Cannot open output file");
    EXPECT_EQ(EncoderErrorLine(4, ""), "Encoder error 4");
}

TEST(ConversionTexts, TimeTextsAndTimeLeft)
{
    EXPECT_EQ(TimeText(0.0), "00:00:00");
    EXPECT_EQ(TimeText(65.99), "00:01:05");
    EXPECT_EQ(TimeText(3600.0), "01:00:00");
    EXPECT_EQ(TimeText(900000.0), "250:00:00");
    EXPECT_EQ(TimeText(-3.0), "00:00:00");
    EXPECT_EQ(TimeText(std::nan("")), "00:00:00");
    // 10 s for the first 250 of 1000 frames leaves 30 s.
    EXPECT_DOUBLE_EQ(RemainingSeconds(10.0, 250, 1000), 30.0);
    EXPECT_EQ(RemainingTimeText(10.0, 250, 1000), "00:00:30");
    EXPECT_EQ(RemainingTimeText(10.0, 0, 1000), "00:00:00");
    EXPECT_EQ(RemainingTimeText(10.0, 1200, 1000), "00:00:00");
}

TEST(FormatPreset, KindAndTvSystemByTheProjectsNames)
{
    struct Case {
        const char* format;
        const char* tv;
        bool preset;
        int kind, tvValue;
    };
    const Case cases[] = {
        {"VCD", "PAL", true, 0, 0},  {"SVCD", "NTSC", true, 1, 1}, {"DVD", "PAL", true, 2, 0},
        {"MP4", "NTSC", true, 6, 1}, {"AVI", "PAL", false, 0, 0},  {"DVD", "SECAM", false, 0, 0},
        {"vcd", "PAL", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.tv);
        const auto preset = FormatPresetFor(c.format, c.tv);
        ASSERT_EQ(preset.has_value(), c.preset);
        if (preset) {
            EXPECT_EQ(preset->kind, c.kind);
            EXPECT_EQ(preset->tvSystem, c.tvValue);
        }
    }
}

TEST(ProgressLog, HoldsAtMost32000LinesDroppingTheOldest)
{
    ProgressLog log;
    for (int i = 1; i <= 32000; ++i) log.LogProgress(std::to_string(i));
    EXPECT_EQ(log.Count(), 32000u);
    EXPECT_EQ(log.Lines().front(), "1");
    log.LogProgress("32001");
    EXPECT_EQ(log.Count(), 32000u);
    EXPECT_EQ(log.Lines().front(), "2");
    EXPECT_EQ(log.Lines().back(), "32001");
    EXPECT_EQ(log.TopIndex(), 31999u);
}

TEST(ProgressLog, KeepsTheErrorTextPastTheCapUntilCleared)
{
    ProgressLog log;
    log.LogError("Cannot open output file");
    for (int i = 0; i < 32000; ++i) log.LogProgress("Frame");
    EXPECT_TRUE(log.HasError());
    EXPECT_EQ(log.LastError(), "Cannot open output file");
    EXPECT_EQ(log.Lines().front(), "Frame");
    log.ClearProgressLog();
    EXPECT_FALSE(log.HasError());
    EXPECT_EQ(log.Count(), 0u);
    EXPECT_EQ(log.TopIndex(), 0u);
}

TEST(Completion, OnlyACompletedJobWithItsFileInPlaceShowsTheCompletionForm)
{
    // stopped, finished, error code, error logged, error text, frames,
    // file kept, file error
    struct Case {
        const char* name;
        JobEnd end;
        CompletionKind kind;
        bool keeps;       // the file is worth renaming into place
        bool saysNoFile;  // the user is told that no file was made
    };
    const Case cases[] = {
        {"completed", {false, true, 0, false, "", 75, true, ""}, CompletionKind::Completed, true, false},
        {"completed, the rename refused",
         {false, true, 0, false, "", 75, false, "folder gone"},
         CompletionKind::EncoderError,
         true,
         true},
        {"completed, the file gone",
         {false, true, 0, false, "", 75, false, "gone"},
         CompletionKind::EncoderError,
         true,
         true},
        {"user stop", {true, false, 0, false, "", 31, true, ""}, CompletionKind::StoppedByUser, true, false},
        {"stop before the conversion",
         {true, false, 0, false, "", 0, false, ""},
         CompletionKind::StoppedByUser,
         false,
         true},
        {"user stop with the abort's error",
         {true, false, 9, true, "aborted", 31, false, ""},
         CompletionKind::StoppedByUser,
         false,
         true},
        {"encoder error",
         {false, false, 3, true, "Cannot open output file", 0, false, ""},
         CompletionKind::EncoderError,
         false,
         true},
        {"error code only",
         {false, false, 3, false, "", 10, false, ""},
         CompletionKind::EncoderError,
         false,
         true},
        {"error after the last frame",
         {false, true, 0, true, "Write failed", 75, false, ""},
         CompletionKind::EncoderError,
         false,
         true},
        {"ended early", {false, false, 0, false, "", 40, false, ""}, CompletionKind::EndedEarly, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(production::KeepsOutput(c.end), c.keeps);
        const CompletionOutcome outcome = DecideCompletion(c.end);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.ShowsCompletionForm(), c.kind == CompletionKind::Completed);
        EXPECT_FALSE(outcome.text.empty());
        EXPECT_EQ(outcome.text.find("没有生成视频文件") != std::string::npos, c.saysNoFile) << outcome.text;
        if (c.kind != CompletionKind::Completed) {
            EXPECT_EQ(outcome.text.find("制作完成"), std::string::npos);
            EXPECT_NE(outcome.caption, "制作完成");
        }
        if (!c.end.errorText.empty() && c.kind == CompletionKind::EncoderError) {
            EXPECT_NE(outcome.text.find(c.end.errorText), std::string::npos);
        }
        if (!c.end.failureText.empty()) {
            EXPECT_NE(outcome.text.find(c.end.failureText), std::string::npos);
        }
    }
}

}  // namespace
