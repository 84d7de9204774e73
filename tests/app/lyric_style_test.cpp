#include "app/lyric_style.h"

#include <gtest/gtest.h>

namespace app {
namespace {

using production::LyricAlign;

TEST(LyricStyle, ListsAndTheEntriesOfHeldValues)
{
    const std::vector<std::string> sizes = LyricSizeEntries();
    ASSERT_EQ(sizes.size(), 78u);
    EXPECT_EQ(sizes.front(), "3");
    EXPECT_EQ(sizes[9], "12");
    EXPECT_EQ(sizes.back(), "80");
    EXPECT_EQ(
        LyricColourNames(),
        (std::vector<std::string>{"black（黑色）", "white（白色）", "red（红色）", "green（绿色）",
                                  "blue（蓝色）", "magenta（洋红色）", "yellow（黄色）", "cyan（青色）"}));

    EXPECT_EQ(LyricAlignIndex(LyricAlign::kLeft), 0);
    EXPECT_EQ(LyricAlignIndex(LyricAlign::kCenter), 1);
    EXPECT_EQ(LyricAlignIndex(LyricAlign::kRight), 2);
    struct Case {
        int (*lookup)(int);
        int value;
        int entry;
    };
    const Case cases[] = {
        {[](int v) { return LyricColourIndex(static_cast<std::uint32_t>(v)); }, 0x000000, 0},
        {[](int v) { return LyricColourIndex(static_cast<std::uint32_t>(v)); }, 0xFFFFFF, 1},
        {[](int v) { return LyricColourIndex(static_cast<std::uint32_t>(v)); }, 0xFF00FF, 5},
        {[](int v) { return LyricColourIndex(static_cast<std::uint32_t>(v)); }, 0x00FFFF, 7},
        {[](int v) { return LyricColourIndex(static_cast<std::uint32_t>(v)); }, 0x123456, -1},
        {LyricSizeIndex, 3, 0},
        {LyricSizeIndex, 12, 9},
        {LyricSizeIndex, 80, 77},
        {LyricSizeIndex, 2, -1},
        {LyricSizeIndex, 81, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.lookup(c.value), c.entry) << c.value;
}

TEST(LyricStyle, TheEightVariablesCarryTheStyleAsTheMoviesTexts)
{
    using Variables = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(production::LyricStyleVariables({}), (Variables{{"LRC_ju_zuozhongyou", "center"},
                                                              {"LRC_geciyanse", "0xFFFFFF"},
                                                              {"LRC_biaozhuen_cuti", "false"},
                                                              {"LRC_xieti", "false"},
                                                              {"LRC_xiahuaxian", "false"},
                                                              {"LRC_gecidaxiao", "12"},
                                                              {"LRC_x", "5"},
                                                              {"LRC_y", "250"}}));

    production::LyricStyle style;
    style.align = LyricAlign::kLeft;
    style.colour = 0x00FF0A;
    style.bold = style.underline = true;
    style.size = 30;
    style.x = 352;
    style.y = 1;
    EXPECT_EQ(production::LyricStyleVariables(style), (Variables{{"LRC_ju_zuozhongyou", "left"},
                                                                 {"LRC_geciyanse", "0x00FF0A"},
                                                                 {"LRC_biaozhuen_cuti", "true"},
                                                                 {"LRC_xieti", "false"},
                                                                 {"LRC_xiahuaxian", "true"},
                                                                 {"LRC_gecidaxiao", "30"},
                                                                 {"LRC_x", "352"},
                                                                 {"LRC_y", "1"}}));
    EXPECT_EQ(production::LyricAlignText(LyricAlign::kRight), "right");
}

}  // namespace
}  // namespace app
