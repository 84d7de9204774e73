#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/text.h"

namespace {

using namespace std::string_literals;

TEST(Text, CharacterRoutinesCountCodePoints)
{
    struct Case {
        const char* what;
        std::string text;
        std::string left2, right2, mid_2_2, without_last_4;
        size_t length;
    };
    const std::vector<Case> cases = {
        {"Chinese name", "照片.jpg", "照片", "pg", "片.", "照片", 6},
        {"ASCII name", "song.mp3", "so", "p3", "on", "song", 8},
        {"exactly four", "a.mp", "a.", "mp", ".m", "", 4},
        {"shorter than four", "歌.a", "歌.", ".a", ".a", "", 3},
        {"one character", "歌", "歌", "歌", "", "", 1},
        {"empty", "", "", "", "", "", 0},
        {"four-byte character", "😀ab.lrc", "😀a", "rc", "ab", "😀ab", 7},
        {"bad byte counts as one",
         "\xFF"
         "abcd",
         "\xFF"
         "a",
         "cd", "ab", "\xFF", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::LengthChars(c.text), c.length);
        EXPECT_EQ(core::LeftChars(c.text, 2), c.left2);
        EXPECT_EQ(core::RightChars(c.text, 2), c.right2);
        EXPECT_EQ(core::MidChars(c.text, 2, 2), c.mid_2_2);
        EXPECT_EQ(core::DropLastChars(c.text, 4), c.without_last_4);
    }
    EXPECT_EQ(core::LeftChars("照片", 0), "");
    EXPECT_EQ(core::LeftChars("照片", -3), "");
    EXPECT_EQ(core::LeftChars("照片", 99), "照片");
    EXPECT_EQ(core::MidChars("照片.jpg", 0, 2), "照片");  // a start before 1 counts as 1
    EXPECT_EQ(core::MidChars("照片.jpg", 5, 99), "pg");
    EXPECT_EQ(core::MidChars("照片.jpg", 9, 1), "");
}

TEST(Text, DecodesOutsideText)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"GBK lyrics", "\xB8\xE8\xB4\xCA", "歌词"},
        {"GBK with ASCII", "[ti:\xB8\xE8\xB4\xCA]", "[ti:歌词]"},
        {"valid UTF-8 stays", "歌词", "歌词"},
        {"ASCII", "plain", "plain"},
        {"UTF-8 BOM removed", "\xEF\xBB\xBF歌词", "歌词"},
        {"UTF-16 LE", "\xFF\xFE\x4C\x6B\xCD\x8B"s, "歌词"},
        {"UTF-16 BE", "\xFE\xFF\x6B\x4C\x8B\xCD"s, "歌词"},
        {"UTF-16 LE surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, "😀"},
        {"UTF-16 lone surrogate",
         "\xFF\xFE\x3D\xD8"
         "a\0"s,
         "\xEF\xBF\xBD"
         "a"},
        {"UTF-16 odd byte at end",
         "\xFF\xFE"
         "a\0b"s,
         "a\xEF\xBF\xBD"},
        {"GB18030 four-byte form", "\x81\x30\x81\x30", "\xC2\x80"},
        {"undecodable byte",
         "a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"},
        {"cut-off GBK at end", "\xB8\xE8\xB4", "歌\xEF\xBF\xBD"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::DecodeText(c.bytes), c.expected);
    }
    EXPECT_EQ(core::GbkToUtf8("\xB8\xE8\xB4\xCA"), "歌词");
    EXPECT_EQ(core::Utf8ToGbk("歌词.lrc"), "\xB8\xE8\xB4\xCA.lrc");
    EXPECT_EQ(core::GbkToUtf8(core::Utf8ToGbk("😀 €")), "😀 €");  // GB18030 holds all
    EXPECT_EQ(core::Utf8ToGbk("a\xFF"), "a?");
}

// Short GBK texts are often valid UTF-8 as well; the guess must still read
// them as GBK, and read real UTF-8 as UTF-8, short or long.
TEST(Text, TellsGbkFromUtf8ShortAndLong)
{
    const std::string lyric = "[00:01.00]为什么\r\n[00:03.50]天空是蓝的\r\n[00:06.00]我们一起唱\r\n";
    std::string long_lyric;
    for (int i = 0; i < 40; ++i) long_lyric += lyric;
    struct Case {
        const char* what;
        std::string bytes;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"short GBK that is also UTF-8", core::Utf8ToGbk("为什么"), "为什么"},
        {"short GBK that is not UTF-8", core::Utf8ToGbk("歌词"), "歌词"},
        {"GBK of one character", core::Utf8ToGbk("爱"), "爱"},
        {"an LRC line in GBK", core::Utf8ToGbk("[00:01.00]为什么"), "[00:01.00]为什么"},
        {"long GBK lyrics", core::Utf8ToGbk(long_lyric), long_lyric},
        {"long GBK that is also UTF-8", core::Utf8ToGbk(std::string(60, ' ') + "为什么为什么为什么"),
         std::string(60, ' ') + "为什么为什么为什么"},
        {"short UTF-8", "为什么", "为什么"},
        {"UTF-8 of one character", "爱", "爱"},
        {"long UTF-8 lyrics", long_lyric, long_lyric},
        {"UTF-8 with two- and three-byte characters", "Ϊʲô 为什么", "Ϊʲô 为什么"},
        {"UTF-8 of four-byte characters", "😀😀", "😀😀"},
        {"a BOM makes two-byte UTF-8 UTF-8", "\xEF\xBB\xBFϊʲô", "ϊʲô"},
        {"ASCII", "[ti:Song]", "[ti:Song]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::DecodeText(c.bytes), c.expected);
    }
}

TEST(Text, SplitsLinesOnEveryBreak)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF", "a\nb", {"a", "b"}},
        {"CR", "a\rb\r", {"a", "b"}},
        {"mixed with empty lines", "a\r\n\nb\r\rc", {"a", "", "b", "", "c"}},
        {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"empty", "", {}},
        {"only a break", "\r\n", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::SplitLines(c.text), c.lines);
    }
}

TEST(Text, CaseAndNumbers)
{
    EXPECT_TRUE(core::SameText("ZPYJJ1.JPG", "zpyjj1.jpg"));
    EXPECT_FALSE(core::SameText("abc", "abd"));
    EXPECT_TRUE(core::SameText("歌A", "歌a"));
    EXPECT_LT(core::CompareText("apple", "Banana"), 0);
    EXPECT_EQ(core::CompareText("ABC", "abc"), 0);
    EXPECT_GT(core::CompareText("abcd", "ABC"), 0);
    EXPECT_TRUE(core::StartsText("03:2", "03:25 歌词"));
    EXPECT_TRUE(core::StartsText("TUPIAN=", "tupian=15"));
    EXPECT_FALSE(core::StartsText("tupian=15", "tupian="));
    EXPECT_TRUE(core::EndsText(".SWF", "zhzp1.swf"));
    EXPECT_EQ(core::LowerCase("AbC歌"), "abc歌");
    EXPECT_EQ(core::UpperCase("AbC歌"), "ABC歌");
    EXPECT_EQ(core::Trim(" \t x y \r\n"), "x y");

    struct IntCase {
        const char* text;
        int expected;
    };
    for (IntCase c : {IntCase{"42", 42}, IntCase{" -17 ", -17}, IntCase{"+5", 5}, IntCase{"$ff", 255},
                      IntCase{"0x10", 16}, IntCase{"-2147483648", INT32_MIN}, IntCase{"2147483648", -1},
                      IntCase{"12a", -1}, IntCase{"", -1}, IntCase{"-", -1}, IntCase{"1.5", -1}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(core::StrToIntDef(c.text, -1), c.expected);
    }
    EXPECT_EQ(core::StrToInt64Def("9007199254740993", 0), 9007199254740993LL);
    EXPECT_EQ(core::IntToStr(-250), "-250");
    EXPECT_DOUBLE_EQ(core::StrToFloatDef(" 100.5 ", 0), 100.5);
    EXPECT_DOUBLE_EQ(core::StrToFloatDef("1e2", 0), 100);
    EXPECT_DOUBLE_EQ(core::StrToFloatDef("x", -1), -1);
    EXPECT_EQ(core::CodePointsToUtf8(core::Utf8ToCodePoints("歌😀a")), "歌😀a");
}

TEST(Text, NaturalOrderComparesDigitRunsByValue)
{
    struct Case {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"photo2.jpg", "photo10.jpg", -1},
        {"Photo10", "photo9", 1},
        {"img007", "img7", -1},
        {"img007", "img8", -1},
        {"a", "a1", -1},
        {"照片2", "照片10", -1},
        {"b", "B", 1},
        {"x1y2", "x1y10", -1},
        {"99999999999999999999", "1", 1},
        {"same", "same", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::CompareNatural(c.a, c.b), c.order) << c.a << " " << c.b;
        EXPECT_EQ(core::CompareNatural(c.b, c.a), -c.order) << c.b << " " << c.a;
    }
}

}  // namespace
