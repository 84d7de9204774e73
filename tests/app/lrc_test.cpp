#include "app/lrc.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace app {
namespace {

using Rows = std::vector<LrcRow>;

struct ParseCase {
    const char* what;
    std::string text;
    Rows index;
};

TEST(ParseLrc, IndexTable)
{
    const ParseCase cases[] = {
        {"several tags before the text, rightmost first",
         "[00:12.50][01:02.00]Hello",
         {{"01:02.00", "Hello"}, {"00:12.50", "Hello"}}},
        {"three adjacent tags",
         "[00:01.00][00:02.00][00:03.00]la",
         {{"00:03.00", "la"}, {"00:02.00", "la"}, {"00:01.00", "la"}}},
        {"tags between texts", "[00:05.00]a[00:07.00]b", {{"00:07.00", "b"}, {"00:05.00", "a"}}},
        {"brackets inside the text are tags", "[00:01.00]x[y]z", {{"y", "z"}, {"00:01.00", "x"}}},
        {"identification tag line", "[ti:Title]", {{"ti", "Title"}}},
        {"identification tags after the time tags",
         "[ar:Singer]\n[00:01.00]one\n[al:Album]\n[by:Me]",
         {{"00:01.00", "one"}, {"ar", "Singer"}, {"al", "Album"}, {"by", "Me"}}},
        {"identification tag followed by spaces",
         "[ti:Song]  \n[00:02.00]two",
         {{"00:02.00", "two"}, {"ti", "Song"}}},
        {"other tags give no row", "[offset:+100]\n[la:cn]\n[00:03.00]x", {{"00:03.00", "x"}}},
        {"empty identification tag", "[ti:]\n[ar]", {{"ti", ""}, {"ar", ""}}},
        {"a bare time tag clears the line", "[00:20.00]", {{"00:20.00", ""}}},
        {"two bare time tags", "[00:20.00][00:21.00]", {{"00:21.00", ""}, {"00:20.00", ""}}},
        {"text ending in a bracket is a lyric line",
         "[00:10.00]Hello [world]",
         {{"world", ""}, {"00:10.00", "Hello "}}},
        {"plain text and empty lines", "just text\n\n[00:01.00]a", {{"00:01.00", "a"}}},
        {"unbalanced [ is text", "[00:01.00]a[b", {{"00:01.00", "a[b"}}},
        {"unbalanced [ at the start", "[00:01.00", {}},
        {"stray ] is text", "[00:01.00]a]b", {{"00:01.00", "a]b"}}},
        {"stray ] before the first tag", "x][00:02.00]y", {{"00:02.00", "y"}}},
        {"stray brackets everywhere", "]][[", {}},
        {"nested brackets pair innermost", "[00:01.00]a[b[c]d", {{"c", "d"}, {"00:01.00", "a[b"}}},
        {"lone brackets", "[\n]\n[]", {}},
        {"empty tag", "[]x", {{"", "x"}}},
        {"Chinese text counts characters",
         "[00:01.00]歌词[00:02.00]你好",
         {{"00:02.00", "你好"}, {"00:01.00", "歌词"}}},
        {"CR-only lines", "[00:01.00]a\r[00:02.00]b\r", {{"00:01.00", "a"}, {"00:02.00", "b"}}},
        {"CR LF lines", "[00:01.00]a\r\n[00:02.00]b\r\n", {{"00:01.00", "a"}, {"00:02.00", "b"}}},
        {"a time tag in an identification caption", "[ti:00:01.00]", {{"ti", "00:01.00"}}},
        {"a stray ] ending a line is no identification tag", "xti:Title]\n ar:x]", {}},
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseLrc(c.text).index, c.index) << c.what;
}

TEST(ParseLrc, NumberedLinesAndTagLines)
{
    const LrcTables tables = ParseLrc("[ti:T]\n\nplain\n[00:01.00]a[00:02.00]b\n[00:03.00]\n[ar:A] \n[x:y]");
    EXPECT_EQ(tables.lines, (std::vector<std::string>{"", "plain", "", "", ""}));
    EXPECT_EQ(tables.tag_lines, (std::vector<std::string>{"[ti:T]", "[x:y]", "[ar:A]"}));
    // The scratch holds the brackets of the last lyric line that was not empty.
    EXPECT_EQ(tables.open_positions, (std::vector<int>{1}));
    EXPECT_EQ(tables.close_positions, (std::vector<int>{6}));  // "[ar:A] "
    const LrcTables mixed = ParseLrc("[00:01.00]歌]x[00:02.00]b[c\n\n");
    EXPECT_EQ(mixed.open_positions, (std::vector<int>{25, 14, 1}));
    EXPECT_EQ(mixed.close_positions, (std::vector<int>{23, 12, 10}));
}

TEST(ParseLrcFile, DecodesBomUtf8AndGbk)
{
    const Rows expected = {{"00:01.00", "歌词"}};
    // "歌词" in GBK is B8 E8 B4 CA.
    EXPECT_EQ(ParseLrcFile("[00:01.00]\xB8\xE8\xB4\xCA").index, expected);
    EXPECT_EQ(ParseLrcFile("[00:01.00]歌词").index, expected);
    EXPECT_EQ(ParseLrcFile("\xEF\xBB\xBF[00:01.00]歌词").index, expected);
    // UTF-16 LE with BOM: "[00:01.00]" then U+6B4C U+8BCD.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[00:01.00]")) utf16 += std::string{c, '\0'};
    utf16 += "\x4C\x6B\xCD\x8B";
    EXPECT_EQ(ParseLrcFile(utf16).index, expected);
}

TEST(LoadLrcFile, MissingFileGivesEmptyTables)
{
    app_test::TempFolder temp;
    EXPECT_EQ(LoadLrcFile(temp.Path() / "absent.lrc"), LrcTables{});
    app_test::WriteFile(temp.Path() / "song.lrc", "[00:01.00]a\r\n");
    EXPECT_EQ(LoadLrcFile(temp.Path() / "song.lrc").index, (Rows{{"00:01.00", "a"}}));
}

TEST(ReadLrcFile, OnlyARegularFileOfLyricSizeIsRead)
{
    app_test::TempFolder temp;
    const std::filesystem::path folder = temp.Path() / "folder.lrc";
    std::filesystem::create_directory(folder);
    // Opening a pipe nobody writes to would wait for ever.
    const std::filesystem::path pipe = temp.Path() / "pipe.lrc";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::filesystem::path huge = temp.Path() / "huge.lrc";
    app_test::WriteFile(huge, "");
    std::filesystem::resize_file(huge, kMaxLrcFileBytes + 1);
    for (const std::filesystem::path& file : {temp.Path() / "absent.lrc", folder, pipe, huge}) {
        EXPECT_EQ(ReadLrcFile(file), std::nullopt) << file;
        EXPECT_EQ(LoadLrcFile(file), LrcTables{}) << file;
    }
    const std::filesystem::path largest = temp.Path() / "largest.lrc";
    app_test::WriteFile(largest, "[00:01.00]a");
    std::filesystem::resize_file(largest, kMaxLrcFileBytes);
    const std::optional<std::string> bytes = ReadLrcFile(largest);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), kMaxLrcFileBytes);
    EXPECT_EQ(bytes->substr(0, 11), "[00:01.00]a");
    app_test::WriteFile(temp.Path() / "empty.lrc", "");
    EXPECT_EQ(ReadLrcFile(temp.Path() / "empty.lrc"), std::string());
}

TEST(FindLyricRow, Table)
{
    const Rows index = {{"00:12.50", "a"}, {"00:12.90", "b"}, {"01:05.32", "c"}, {"ti", "x"}, {"AB:cd", "d"}};
    struct Case {
        const char* key;
        std::optional<size_t> row;
    };
    const Case cases[] = {
        {"00:12", 0},  // the first of several tags within a second
        {"00:13", std::nullopt},
        {"01:05", 2},
        {"ab:CD", 4},  // letter case ignored
        {"ti", 3},
        {"", std::nullopt},
        {"00:12.50.1", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(FindLyricRow(index, c.key), c.row) << c.key;
    EXPECT_EQ(FindLyricRow({}, "00:00"), std::nullopt);
}

TEST(IsTimeTagText, Table)
{
    for (const char* yes : {"00:12.50", "0:12", "00:12", "00:12.500", "00:12:50", "123:45.6"})
        EXPECT_TRUE(IsTimeTagText(yes)) << yes;
    for (const char* no : {"", "ti:x", ":12", "00:", "00:12.", "00-12", "00:12.5x", "a0:12"})
        EXPECT_FALSE(IsTimeTagText(no)) << no;
}

}  // namespace
}  // namespace app
