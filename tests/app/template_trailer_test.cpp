#include "app/template_trailer.h"

#include <gtest/gtest.h>

#include <map>

#include "app/template_format.h"
#include "temp_folder.h"

namespace app {
namespace {

namespace tf = template_format;

// A trailer written by hand, so that each test can spoil one entry.
class TrailerText {
public:
    TrailerText()
    {
        Set(tf::kValiditySection, tf::kValidityKey, tf::kValidityConstant);
        Set(tf::kMovieSection, tf::kMovieOffsetKey, tf::EncodeNumber(100));
        Set(tf::kMovieSection, tf::kMovieLengthKey, tf::EncodeNumber(50));
        Set(tf::kCountSection, tf::kCountKey, tf::EncodeNumber(2));
        SetSegment(1, 7, 100, 2);
        SetSegment(2, 8, 250, 3);
    }
    void Set(std::string_view section, std::string_view key, std::string_view value)
    {
        entries_[std::string(section)][std::string(key)] = std::string(value);
    }
    void Erase(std::string_view section, std::string_view key)
    {
        entries_[std::string(section)].erase(std::string(key));
    }
    void SetSegment(int k, uint64_t first, uint64_t end, uint64_t photos)
    {
        Set(tf::kSegmentSection, tf::SegmentKey(tf::kFirstValuePrefix, k), tf::EncodeNumber(first));
        Set(tf::kSegmentSection, tf::SegmentKey(tf::kEndFramePrefix, k), tf::EncodeNumber(end));
        Set(tf::kSegmentSection, tf::SegmentKey(tf::kPhotoCountPrefix, k), tf::EncodeNumber(photos));
    }
    std::string Bytes() const
    {
        std::string text = "junk before the first section\r\n";
        for (const auto& [section, keys] : entries_) {
            text += "[" + section + "]\r\n";
            for (const auto& [key, value] : keys) text += key + " = " + value + "\r\n";
        }
        text.resize(tf::kTrailerSize, '\0');
        return text;
    }

private:
    std::map<std::string, std::map<std::string, std::string>> entries_;
};

constexpr uint64_t kFileSize = 100 + 50 + tf::kTrailerSize;

TEST(TemplateFormat, NumbersRoundTripAndRefuseStrangers)
{
    for (uint64_t value : {0ull, 7ull, 1234567890ull, 18446744073709551615ull})
        EXPECT_EQ(tf::DecodeNumber(tf::EncodeNumber(value)), value);
    EXPECT_EQ(tf::EncodeNumber(1234567890), "tkqzwhrbxm");
    for (const char* bad :
         {"", "12", "tk q", "TK", "-t", "tkqzwhrbxmtkqzwhrbxmt"})  // the last exceeds 64 bits
        EXPECT_FALSE(tf::DecodeNumber(bad)) << bad;
}

TEST(ReadTemplateTrailer, ReadsAValidTrailer)
{
    const TemplateCheck check = ReadTemplateTrailer(TrailerText().Bytes(), kFileSize);
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(check.description->validity, tf::kValidityConstant);
    EXPECT_EQ(check.description->movie_offset, 100u);
    EXPECT_EQ(check.description->movie_length, 50u);
    EXPECT_EQ(check.description->segments, (SegmentTable{{7, 100, 2}, {8, 250, 3}}));
}

TEST(ReadTemplateTrailer, RefusesInvalidTrailers)
{
    struct Case {
        const char* what;
        std::function<void(TrailerText&)> spoil;
        uint64_t file_size;
        TemplateFault fault;
    };
    const uint64_t kMax = UINT64_MAX;
    const Case cases[] = {
        {"short file", [](TrailerText&) {}, 1999, TemplateFault::kTooShort},
        {"wrong constant",
         [](TrailerText& t) {
             t.Set(tf::kValiditySection, tf::kValidityKey, "VelmoraEffectTemplate-1.0-c7e2a94f3b1d5e09");
         },
         kFileSize, TemplateFault::kWrongValidity},
        {"missing constant", [](TrailerText& t) { t.Erase(tf::kValiditySection, tf::kValidityKey); },
         kFileSize, TemplateFault::kWrongValidity},
        {"bad digit", [](TrailerText& t) { t.Set(tf::kMovieSection, tf::kMovieOffsetKey, "tm0"); }, kFileSize,
         TemplateFault::kBadNumber},
        {"plain decimal is not a stored number",
         [](TrailerText& t) { t.Set(tf::kCountSection, tf::kCountKey, "2"); }, kFileSize,
         TemplateFault::kBadNumber},
        {"missing length", [](TrailerText& t) { t.Erase(tf::kMovieSection, tf::kMovieLengthKey); }, kFileSize,
         TemplateFault::kMissingValue},
        {"missing count", [](TrailerText& t) { t.Erase(tf::kCountSection, tf::kCountKey); }, kFileSize,
         TemplateFault::kMissingValue},
        {"empty movie",
         [](TrailerText& t) { t.Set(tf::kMovieSection, tf::kMovieLengthKey, tf::EncodeNumber(0)); },
         kFileSize, TemplateFault::kEmptyMovie},
        {"slice into the trailer",
         [](TrailerText& t) { t.Set(tf::kMovieSection, tf::kMovieLengthKey, tf::EncodeNumber(51)); },
         kFileSize, TemplateFault::kMovieOutOfRange},
        {"slice past the end",
         [](TrailerText& t) { t.Set(tf::kMovieSection, tf::kMovieOffsetKey, tf::EncodeNumber(5000)); },
         kFileSize, TemplateFault::kMovieOutOfRange},
        {"offset + length wraps 64 bits",
         [](TrailerText& t) { t.Set(tf::kMovieSection, tf::kMovieLengthKey, tf::EncodeNumber(kMax - 50)); },
         kFileSize, TemplateFault::kMovieOutOfRange},
        {"N = 0", [](TrailerText& t) { t.Set(tf::kCountSection, tf::kCountKey, tf::EncodeNumber(0)); },
         kFileSize, TemplateFault::kSegmentCount},
        {"N = 101", [](TrailerText& t) { t.Set(tf::kCountSection, tf::kCountKey, tf::EncodeNumber(101)); },
         kFileSize, TemplateFault::kSegmentCount},
        {"N above the rows present",
         [](TrailerText& t) { t.Set(tf::kCountSection, tf::kCountKey, tf::EncodeNumber(3)); }, kFileSize,
         TemplateFault::kMissingValue},
        {"segment value not a number", [](TrailerText& t) { t.Set(tf::kSegmentSection, "k2", "z z"); },
         kFileSize, TemplateFault::kBadNumber},
        {"segment value above an int", [](TrailerText& t) { t.SetSegment(2, 0, 2147483648ull, 3); },
         kFileSize, TemplateFault::kBadNumber},
        {"slot count 16", [](TrailerText& t) { t.SetSegment(1, 7, 100, 16); }, kFileSize,
         TemplateFault::kSlotCount},
        {"slot count 0", [](TrailerText& t) { t.SetSegment(1, 7, 100, 0); }, kFileSize,
         TemplateFault::kSlotCount},
    };
    for (const Case& c : cases) {
        TrailerText trailer;
        c.spoil(trailer);
        const TemplateCheck check = ReadTemplateTrailer(trailer.Bytes(), c.file_size);
        EXPECT_FALSE(check.Valid()) << c.what;
        EXPECT_EQ(check.fault, c.fault) << c.what << ": " << check.detail;
        EXPECT_FALSE(check.detail.empty()) << c.what;
    }
}

TEST(ReadTemplateTrailer, NamesIgnoreLetterCaseAndFirstEntryWins)
{
    std::string bytes = TrailerText().Bytes();
    // A later, different count is not seen.
    const std::string extra = "[TYGEX]\r\nTYGEX=m\r\n";
    bytes.replace(bytes.size() - extra.size(), extra.size(), extra);
    const TemplateCheck check = ReadTemplateTrailer(bytes, kFileSize);
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(check.description->segments.size(), 2u);
}

TEST(WriteTemplateTrailer, RoundTripsAndRefusesWhatDoesNotFit)
{
    TemplateDescription description{
        std::string(tf::kValidityConstant), 4096, 1234, {{1, 60, 3}, {2, 120, 0}}};
    const std::optional<std::string> trailer = WriteTemplateTrailer(description);
    ASSERT_TRUE(trailer);
    EXPECT_EQ(trailer->size(), tf::kTrailerSize);
    const TemplateCheck check = ReadTemplateTrailer(*trailer, 4096 + 1234 + tf::kTrailerSize);
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(*check.description, description);

    description.segments.assign(100, TemplateSegment{123456, 123456, 12});
    EXPECT_FALSE(WriteTemplateTrailer(description));
    description.segments.assign(1, TemplateSegment{-1, 0, 1});
    EXPECT_FALSE(WriteTemplateTrailer(description));
}

TEST(ReadTemplateFile, ReadsFromDiskAndExtractsTheMovie)
{
    app_test::TempFolder temp;
    const std::optional<std::string> file = MakeTemplateFile("VIDEO-BYTES", "MOVIE", {{0, 20, 2}});
    ASSERT_TRUE(file);
    app_test::WriteFile(temp.Path() / "t.avi", *file);
    const TemplateCheck check = ReadTemplateFile(temp.Path() / "t.avi");
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(ReadTemplateMovie(temp.Path() / "t.avi", *check.description), "MOVIE");

    EXPECT_EQ(ReadTemplateFile(temp.Path() / "absent.avi").fault, TemplateFault::kUnreadable);
    app_test::WriteFile(temp.Path() / "short.avi", std::string(1999, 'x'));
    EXPECT_EQ(ReadTemplateFile(temp.Path() / "short.avi").fault, TemplateFault::kTooShort);
    // The file shrank after it was checked.
    app_test::WriteFile(temp.Path() / "t.avi", file->substr(5));
    EXPECT_FALSE(ReadTemplateMovie(temp.Path() / "t.avi", *check.description));

    EXPECT_FALSE(MakeTemplateFile("V", "", {{0, 20, 2}}));
    EXPECT_FALSE(MakeTemplateFile("V", "M", {{0, 20, 0}}));
}

}  // namespace
}  // namespace app
