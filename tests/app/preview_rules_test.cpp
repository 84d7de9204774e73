// The preview's decisions, without a window: mark crossings of a polled
// frame number, the album's end by sync mode, song lengths and the end of
// the opening title.
#include <gtest/gtest.h>

#include "app/preview_engine.h"
#include "platform/media/media_player.h"

namespace app {
namespace {

TEST(PassedFrame, CrossingsOfAPolledFrameNumber)
{
    struct Case {
        int previous, current, mark;
        bool passed;
    };
    // A 20-frame movie: marks 3 (pane switch), 15 (T - 5) and 19 (T - 1).
    const Case cases[] = {
        {-1, 0, 3, false},  {-1, 5, 3, true},  // nothing seen yet: the first look counts from 0
        {2, 3, 3, true},    {3, 4, 3, false},  // once, at the frame itself
        {1, 4, 3, true},    {2, 2, 3, false},  // a missed frame; no move
        {14, 15, 15, true}, {13, 17, 15, true}, {15, 16, 15, false},
        {18, 19, 19, true}, {17, 0, 19, true},   // wrapped round past the last frame
        {19, 0, 19, false}, {18, 1, 3, false},   // the start of the next pass
        {18, 4, 3, true},   {16, 2, 15, false},  // wrapped past frame 3, but not past 15
        {-1, 0, 0, true},   {5, 6, -1, false},   // mark 0 at the first look; no mark at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassedFrame(c.previous, c.current, c.mark), c.passed)
            << c.previous << " -> " << c.current << " mark " << c.mark;
}

TEST(PreviewEndTick, BySyncMode)
{
    EXPECT_EQ(PreviewEndTick("yinyuesuimobanchangdu", 250, 999, 99.0), 249);
    EXPECT_EQ(PreviewEndTick("yinyuesuizhaopian", 250, 550, 99.0), 550);
    EXPECT_EQ(PreviewEndTick("zhaopiansuiyinyue", 250, 550, 2.0), 50);
    EXPECT_EQ(PreviewEndTick("zhaopiansuiyinyue", 250, 550, 100.0), 2500);
    EXPECT_EQ(PreviewEndTick("zhaopiansuiyinyue", 250, 550, 0.3), 7);  // 0.3 / 0.04 is 7.4999...
    EXPECT_EQ(PreviewEndTick("something else", 20, 550, 2.0), 19);
    EXPECT_EQ(PreviewEndTick("yinyuesuizhaopian", 20, -3, 2.0), 0);
}

TEST(SongLengths, ExactFramesFromTheMeasuredSeconds)
{
    // An unmeasured song keeps 0 and never ends by itself; the cumulative
    // ends keep 3.01 s songs from drifting (75, 75, not 75, 76 ...).
    EXPECT_EQ(SongLengthsInFrames({10.0, 0.0, 3.01, 3.01}), (std::vector<int64_t>{250, 0, 75, 75}));
    // An hour and more is no different (the "mm:ss" text of such a song never matched).
    EXPECT_EQ(SongLengthsInFrames({3725.5}), (std::vector<int64_t>{93137}));
    EXPECT_EQ(SongLengthsInFrames({0.01}), (std::vector<int64_t>{1}));

    EXPECT_FALSE(SongOver(23, 25));
    EXPECT_TRUE(SongOver(24, 25));  // the tick whose lyric time is the song's length
    EXPECT_TRUE(SongOver(30, 25));
    EXPECT_FALSE(SongOver(0, 0));
    EXPECT_FALSE(SongOver(100000, 0));

    EXPECT_EQ(LengthTextSeconds("03:25"), 205);
    EXPECT_EQ(LengthTextSeconds("61:05"), 3665);
    EXPECT_EQ(LengthTextSeconds("01:00:05"), 3605);
    for (const char* bad : {"", "12", "3:x", ":05", "1:2:3:4", "-1:05", "00:05 "})
        EXPECT_LT(LengthTextSeconds(bad), 0) << bad;
}

TEST(OpeningOver, EndsOnTheTextsStateEightOrThePosition)
{
    const auto view = [](int state, double position, double duration, std::string position_text,
                         std::string length_text) {
        OpeningView v;
        v.state = state;
        v.position = position;
        v.duration = duration;
        v.position_text = std::move(position_text);
        v.length_text = std::move(length_text);
        return v;
    };
    EXPECT_FALSE(OpeningOver(view(wmppsPlaying, 4.2, 10.0, "00:04", "00:10")));
    EXPECT_TRUE(OpeningOver(view(wmppsPlaying, 10.0, 10.0, "00:10", "00:10")));
    // The texts never meet (a position that jumps past the length text).
    EXPECT_TRUE(OpeningOver(view(wmppsMediaEnded, 0.0, 10.4, "00:00", "00:10")));
    EXPECT_TRUE(OpeningOver(view(wmppsPlaying, 10.5, 10.4, "00:11", "00:10")));
    // Not measured yet: "00:00" against "00:00" is no end.
    EXPECT_FALSE(OpeningOver(view(wmppsPlaying, 0.0, 0.0, "00:00", "00:00")));
    OpeningView opening = view(wmppsTransitioning, 0.0, 0.0, "00:00", "00:00");
    opening.opening = true;
    EXPECT_FALSE(OpeningOver(opening));
    // Nothing that could ever end: no file, or one that cannot play.
    OpeningView none = view(wmppsUndefined, 0.0, 0.0, "00:00", "00:00");
    none.has_media = false;
    EXPECT_TRUE(OpeningOver(none));
    OpeningView failed = view(wmppsUndefined, 0.0, 0.0, "00:00", "00:00");
    failed.failed = true;
    EXPECT_TRUE(OpeningOver(failed));
}

}  // namespace
}  // namespace app
