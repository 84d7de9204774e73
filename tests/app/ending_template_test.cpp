#include "app/ending_template.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace app {
namespace {

std::string Trailer(const std::string& ini)
{
    std::string bytes = ini;
    bytes.resize(kEndingTrailerSize, ' ');
    return bytes;
}

const std::string kValidIni =
    "[pwyzxx]\r\nxx=pianweiyanzhengxinxi\r\n[pw_t_p]\r\nt_p=12\r\nz_s=200\r\n[pw_w_z]\r\nq_s=4000\r\nj_s="
    "77\r\n";

TEST(ReadEndingTrailer, ReadsAValidBlock)
{
    const EndingCheck check = ReadEndingTrailer(Trailer(kValidIni), 9000);
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(*check.ending, (EndingTemplate{12, 200, 4000, 5000}));
    EXPECT_EQ(check.ending->StillFrameIndex(), 199);
    EXPECT_EQ(check.values, (EndingTrailerValues{"pianweiyanzhengxinxi", "12", "200", "4000", "77"}));
}

TEST(ReadEndingTrailer, RefusesInvalidBlocks)
{
    struct Case {
        const char* what;
        std::string from, to;
        uint64_t file_size;
        EndingFault fault;
    };
    const Case cases[] = {
        {"short file", "", "", 999, EndingFault::kTooShort},
        {"other validation", "xx=pianweiyanzhengxinxi", "xx=pianwei", 9000, EndingFault::kWrongValidation},
        {"validation missing", "[pwyzxx]", "[other]", 9000, EndingFault::kWrongValidation},
        {"play frame not a number", "t_p=12", "t_p=1x", 9000, EndingFault::kBadPlayFrame},
        {"play frame negative", "t_p=12", "t_p=-12", 9000, EndingFault::kBadPlayFrame},
        {"play frame missing", "t_p=12", "tp=12", 9000, EndingFault::kBadPlayFrame},
        {"still frame too large", "z_s=200", "z_s=2147483648", 9000, EndingFault::kBadStillFrame},
        {"movie start not a number", "q_s=4000", "q_s=", 9000, EndingFault::kBadMovieStart},
        {"movie start beyond 64 bits", "q_s=4000", "q_s=18446744073709551616", 9000,
         EndingFault::kBadMovieStart},
        {"movie start inside the block", "q_s=4000", "q_s=8000", 9000, EndingFault::kMovieOutOfRange},
        {"movie start past the end", "q_s=4000", "q_s=18446744073709551615", 9000,
         EndingFault::kMovieOutOfRange},
        {"file of the block alone", "q_s=4000", "q_s=0", 1000, EndingFault::kMovieOutOfRange},
    };
    for (const Case& c : cases) {
        std::string ini = kValidIni;
        if (!c.from.empty()) ini.replace(ini.find(c.from), c.from.size(), c.to);
        const EndingCheck check = ReadEndingTrailer(Trailer(ini), c.file_size);
        EXPECT_FALSE(check.Valid()) << c.what;
        EXPECT_EQ(check.fault, c.fault) << c.what << ": " << check.detail;
    }
    // What was read stays available, as the dialog keeps it.
    std::string ini = kValidIni;
    ini.replace(ini.find("xx=pianweiyanzhengxinxi"), 23, "xx=other");
    EXPECT_EQ(ReadEndingTrailer(Trailer(ini), 9000).values.play_frame, "12");
}

TEST(ReadEndingTemplateFile, RoundTripsThroughTheWriterAndExtractsTheMovie)
{
    app_test::TempFolder temp;
    const std::string movie = "MOVIE-BYTES";
    const std::optional<std::string> trailer = WriteEndingTrailer(3, 9, 5);
    ASSERT_TRUE(trailer);
    ASSERT_EQ(trailer->size(), kEndingTrailerSize);
    const std::string file = "VIDEO" + movie + *trailer;
    app_test::WriteFile(temp.Path() / "end.mpg", file);

    const EndingCheck check = ReadEndingTemplateFile(temp.Path() / "end.mpg");
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(check.ending->play_frame, 3);
    EXPECT_EQ(check.ending->still_frame, 9);
    // The movie keeps the block behind it.
    EXPECT_EQ(ReadEndingMovie(temp.Path() / "end.mpg", *check.ending), movie + *trailer);

    EXPECT_EQ(ReadEndingTemplateFile(temp.Path() / "absent.mpg").fault, EndingFault::kUnreadable);
    app_test::WriteFile(temp.Path() / "short.mpg", "tiny");
    EXPECT_EQ(ReadEndingTemplateFile(temp.Path() / "short.mpg").fault, EndingFault::kTooShort);
    app_test::WriteFile(temp.Path() / "end.mpg", file + "more");
    EXPECT_FALSE(ReadEndingMovie(temp.Path() / "end.mpg", *check.ending));
}

TEST(EndingText, FormatAndParse)
{
    EXPECT_EQ(FormatEndingText(1, "Hello"), "txt1=Hello\r\n");
    EXPECT_EQ(FormatEndingText(2, ""), "txt2=\r\n");
    EXPECT_EQ(FormatEndingText(1, "a\nb"), "txt1=a\r\nb\r\n");
    // The editor's text ends in a line break: no further empty line.
    EXPECT_EQ(FormatEndingText(1, "a\r\nb\r\n"), "txt1=a\r\nb\r\n");
    // GBK at the file boundary: "歌词" is B8 E8 B4 CA.
    EXPECT_EQ(FormatEndingText(2, "歌词"), "txt2=\xB8\xE8\xB4\xCA\r\n");

    EXPECT_EQ(ParseEndingText("txt1=Hello\r\n"), "Hello\r\n");
    EXPECT_EQ(ParseEndingText("txt2=\xB8\xE8\xB4\xCA\r\nline 2\r\n"), "歌词\r\nline 2\r\n");
    // Five characters, not bytes.
    EXPECT_EQ(ParseEndingText("\xB8\xE8\xB4\xCA\xB8\xE8\xB4\xCA\xB8\xE8xyz"), "xyz\r\n");
    EXPECT_EQ(ParseEndingText(""), "");
    EXPECT_EQ(ParseEndingText("txt"), "\r\n");
}

TEST(EndingText, FilesSurviveEditingUnchanged)
{
    app_test::TempFolder temp;
    std::filesystem::create_directories(temp.Path() / "pwwjj");
    EXPECT_FALSE(ReadEndingText(temp.Path(), 1));
    ASSERT_TRUE(WriteEndingText(temp.Path(), 1, kEndingDefaultText));
    ASSERT_TRUE(WriteEndingText(temp.Path(), 2, kEndingDefaultText));
    EXPECT_EQ(EndingTextFile(temp.Path(), 2), temp.Path() / "pwwjj" / "txt_2.txt");
    std::string text = ReadEndingText(temp.Path(), 1).value_or("?");
    EXPECT_EQ(text, std::string(kEndingDefaultText) + "\r\n");
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(WriteEndingText(temp.Path(), 1, text));
        text = ReadEndingText(temp.Path(), 1).value_or("?");
    }
    EXPECT_EQ(text, std::string(kEndingDefaultText) + "\r\n");
    EXPECT_FALSE(WriteEndingText(temp.Path() / "absent", 1, "x"));
}

}  // namespace
}  // namespace app
