#include "app/text_decoding.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(DecodeOutsideText, Table)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"GBK", "\xB8\xE8\xB4\xCA", "歌词"},
        {"UTF-8", "歌词", "歌词"},
        {"UTF-8 BOM", "\xEF\xBB\xBF" "a", "a"},
        {"UTF-16 LE BOM", std::string("\xFF\xFE" "a\0", 4), "a"},
        {"UTF-16 BE BOM", std::string("\xFE\xFF\0a", 4), "a"},
        {"odd UTF-16 byte", std::string("\xFF\xFE" "a\0b", 5), "a\xEF\xBF\xBD"},
        {"broken UTF-8 after a BOM", "\xEF\xBB\xBF\xC3", "\xEF\xBF\xBD"},
        {"undecodable bytes", "\xFF\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeOutsideText(c.bytes), c.text) << c.what;
}

TEST(EncodeAnsiText, RoundTripsThroughGb18030)
{
    for (const char* text : {"歌词", "plain", "😀 emoji", ""})
        EXPECT_EQ(DecodeAnsiText(EncodeAnsiText(text)), text) << text;
}

TEST(SplitLines, Table)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLines("\r\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLines(""), Lines{});
}

}  // namespace
}  // namespace app
