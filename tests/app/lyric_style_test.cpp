#include "app/lyric_style.h"

#include <gtest/gtest.h>

#include "app/project_state.h"

namespace app {
namespace {

TEST(LyricStyle, ListsAndTheEntriesOfStoredValues)
{
    const std::vector<std::string> sizes = LyricSizeEntries();
    ASSERT_EQ(sizes.size(), 78u);
    EXPECT_EQ(sizes.front(), "3");
    EXPECT_EQ(sizes[9], "12");
    EXPECT_EQ(sizes.back(), "80");
    EXPECT_EQ(LyricColourNames(),
              (std::vector<std::string>{"black（黑色）", "white（白色）", "red（红色）", "green（绿色）", "blue（蓝色）",
                                        "magenta（洋红色）", "yellow（黄色）", "cyan（青色）"}));

    struct Case {
        int (*lookup)(std::string_view);
        const char* value;
        int entry;
    };
    const Case cases[] = {
        {LyricAlignIndex, "left", 0},       {LyricAlignIndex, "center", 1},    {LyricAlignIndex, "right", 2},
        {LyricAlignIndex, "Left", -1},      {LyricAlignIndex, "", -1},
        {LyricColourIndex, "0x000000", 0},  {LyricColourIndex, "0xFFFFFF", 1}, {LyricColourIndex, "0xFF00FF", 5},
        {LyricColourIndex, "0x00FFFF", 7},  {LyricColourIndex, "0x123456", -1},
        {LyricSizeIndex, "3", 0},           {LyricSizeIndex, "12", 9},         {LyricSizeIndex, "80", 77},
        {LyricSizeIndex, "2", -1},          {LyricSizeIndex, "81", -1},        {LyricSizeIndex, "12pt", -1},
        {LyricSizeIndex, "", -1},           {LyricSizeIndex, "99999999999", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.lookup(c.value), c.entry) << c.value;
}

TEST(LyricStyle, FlagsAndPositions)
{
    EXPECT_TRUE(LyricFlag("true"));
    for (const char* off : {"false", "", "TRUE", "1"}) EXPECT_FALSE(LyricFlag(off)) << off;
    EXPECT_EQ(LyricFlagText(true), "true");
    EXPECT_EQ(LyricFlagText(false), "false");

    struct Case {
        const char* value;
        int position;  // on a track bar of 1 .. 352
    };
    for (const Case& c : {Case{"5", 5}, Case{"1", 1}, Case{"352", 352}, Case{"0", 1}, Case{"400", 352},
                          Case{"-7", 1}, Case{"", 1}, Case{"5x", 1}, Case{"99999999999999999999", 352},
                          Case{"-99999999999999999999", 1}})
        EXPECT_EQ(LyricPosition(c.value, 1, kLyricXMax), c.position) << c.value;
}

TEST(LyricStyle, TheEightVariablesCarryTheProjectsValues)
{
    ProjectState project;
    project.LrcAlign = "left";
    project.LrcColor = "0xFF0000";
    project.LrcBold = "true";
    project.LrcSize = "30";
    project.LrcY = "100";
    using Variables = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(LyricStyleVariables(project),
              (Variables{{"LRC_ju_zuozhongyou", "left"}, {"LRC_geciyanse", "0xFF0000"}, {"LRC_biaozhuen_cuti", "true"},
                         {"LRC_xieti", "false"}, {"LRC_xiahuaxian", "false"}, {"LRC_gecidaxiao", "30"},
                         {"LRC_x", "5"}, {"LRC_y", "100"}}));
}

}  // namespace
}  // namespace app
