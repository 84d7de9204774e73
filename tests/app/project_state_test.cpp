#include "app/project_state.h"

#include <gtest/gtest.h>

// GCC 12 warns falsely about overlapping copies in short string assignments
// once they are inlined (its bug 105329).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

namespace app {
namespace {

// Every value that the start-up sets, from a project left in another state.
TEST(ProjectState, StartupDefaultsTable)
{
    ProjectState state;
    state.TemplateFile = "t.avi";
    state.BrowserMovie = "zpjj2";
    state.TemplateMovie = "2";
    state.PhotoPageIndex = 3;
    state.SlotCount = "7";
    state.SelectedSlot = 5;
    state.SyncMode = "zhaopiansuiyinyue";
    state.TvSystem = "NTSC";
    state.OpeningFile = "o.mpg";
    state.OpeningFrames = 250;
    state.EndingFile = "e.mpg";
    state.EndingMovie = state.ProduceTemplateMovie = state.ProduceEndingMovie = 2;
    state.LrcStyle = {production::LyricAlign::kLeft, 0x00FF00, true, true, true, 40, 0, 0};
    state.SetStartupDefaults();
    state.SetLyricStyleDefaults();

    EXPECT_EQ(state.TemplateFile, "");
    EXPECT_EQ(state.BrowserMovie, "zpjj1");
    EXPECT_EQ(state.TemplateMovie, "1");
    EXPECT_EQ(state.PhotoPageIndex, 0);
    EXPECT_EQ(state.SlotCount, "1");
    EXPECT_EQ(state.SelectedSlot, 1);
    EXPECT_EQ(state.SyncMode, "yinyuesuimobanchangdu");
    EXPECT_EQ(state.TvSystem, "PAL");
    EXPECT_EQ(state.OpeningFile, "");
    EXPECT_EQ(state.OpeningFrames, 0);
    EXPECT_EQ(state.EndingFile, "");
    EXPECT_EQ(state.EndingMovie, 1);
    EXPECT_EQ(state.ProduceTemplateMovie, 1);
    EXPECT_EQ(state.ProduceEndingMovie, 1);
    EXPECT_EQ(state.LrcStyle.align, production::LyricAlign::kCenter);
    EXPECT_EQ(state.LrcStyle.colour, 0xFFFFFFu);
    EXPECT_FALSE(state.LrcStyle.bold || state.LrcStyle.italic || state.LrcStyle.underline);
    EXPECT_EQ(state.LrcStyle.size, 12);
    EXPECT_EQ(state.LrcStyle.x, 5);
    EXPECT_EQ(state.LrcStyle.y, 250);
}

}  // namespace
}  // namespace app
