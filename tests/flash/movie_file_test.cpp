#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/flash/movie_file.h"

namespace {

using flash::Movie;

Movie SampleMovie()
{
    Movie m;
    m.width = 352;
    m.height = 288;
    m.fps = 25;
    m.frame_count = 50;
    m.background = 0xFF102030;
    m.assets.push_back({flash::AssetKind::Png, {0x89, 'P', 'N', 'G', 1, 2, 3}});

    flash::Layer image;
    image.name = "L1";
    image.kind = flash::LayerKind::Image;
    image.image_source = flash::ImageSource::File;
    image.file = "tupian1.jpg";
    image.fit = flash::Fit::Cover;
    image.width = 352;
    image.height = 288;
    image.last_frame = 49;
    image.track(flash::Property::X).keys = {{0, 10, flash::Ease::InOut}, {7, 123.5f, flash::Ease::Linear}};
    image.track(flash::Property::Alpha).keys = {{0, 0, flash::Ease::Out}, {10, 1, flash::Ease::Hold}};
    m.layers.push_back(image);

    flash::Layer rect;
    rect.name = "R";
    rect.kind = flash::LayerKind::Rect;
    rect.fill = flash::Fill::Radial;
    rect.color = 0x80FFFFFF;
    rect.width = 100;
    rect.height = 50;
    rect.first_frame = 5;
    rect.last_frame = 20;
    rect.track(flash::Property::ClipRight).keys = {{5, 0}, {20, 352}};
    m.layers.push_back(rect);

    flash::Layer text;
    text.name = "T";
    text.kind = flash::LayerKind::Text;
    text.text_source = flash::TextSource::Variable;
    text.text = "LRC_geci";
    text.font = "WenQuanYi Micro Hei";
    text.font_size = 14;
    text.align = flash::Align::Center;
    text.style = flash::kTextLyric | flash::kTextBold;
    text.shadow = 0x80000000;
    text.last_frame = 49;
    text.asset = 0;
    m.layers.push_back(text);

    flash::Layer still;
    still.name = "A";
    still.kind = flash::LayerKind::Image;
    still.image_source = flash::ImageSource::Asset;
    still.asset = 0;
    still.last_frame = 49;
    m.layers.push_back(still);

    m.actions = {{0, flash::ActionKind::FSCommand, "tupian=3", "", 0},
                 {0, flash::ActionKind::LoadPoint, "", "", 0},
                 {3, flash::ActionKind::FSCommand, "hello", "world", 0},
                 {40, flash::ActionKind::Stop, "", "", 0},
                 {49, flash::ActionKind::GotoAndPlay, "", "", 12}};
    return m;
}

void PutU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
std::size_t Find(const std::vector<std::uint8_t>& b, const std::vector<std::uint8_t>& pattern)
{
    auto it = std::search(b.begin(), b.end(), pattern.begin(), pattern.end());
    EXPECT_NE(it, b.end());
    return static_cast<std::size_t>(it - b.begin());
}
std::vector<std::uint8_t> Pattern(const std::string& s) { return {s.begin(), s.end()}; }
std::vector<std::uint8_t> KeyPattern(std::uint32_t frame, float value)
{
    std::vector<std::uint8_t> p(8);
    PutU32(p, 0, frame);
    PutU32(p, 4, std::bit_cast<std::uint32_t>(value));
    return p;
}

TEST(MovieFile, RoundTripKeepsEverything)
{
    Movie m = SampleMovie();
    std::vector<std::uint8_t> bytes = flash::WriteMovie(m);
    EXPECT_EQ(flash::ReadMovie(bytes), m);
}

TEST(MovieFile, BytesAfterTheMovieAreIgnored)
{
    Movie m = SampleMovie();
    std::vector<std::uint8_t> bytes = flash::WriteMovie(m);
    std::vector<std::uint8_t> trailer(2000, 'x');
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    EXPECT_EQ(flash::ReadMovie(bytes), m);
}

TEST(MovieFile, WriterRefusesWhatTheReaderWould)
{
    Movie m = SampleMovie();
    m.layers[0].file = "../tupian1.jpg";
    EXPECT_THROW(flash::WriteMovie(m), flash::MovieError);
    m = SampleMovie();
    m.actions.push_back({50, flash::ActionKind::Stop, "", "", 0});
    EXPECT_THROW(flash::WriteMovie(m), flash::MovieError);
}

struct Damage {
    const char* name;
    void (*apply)(std::vector<std::uint8_t>&);
};

const Damage kDamages[] = {
    {"empty", [](auto& b) { b.clear(); }},
    {"foreign signature",
     [](auto& b) {
         b[0] = 'F';
         b[1] = 'W';
         b[2] = 'S';
     }},
    {"header only", [](auto& b) { b.resize(20); }},
    {"future version", [](auto& b) { PutU16(b, 4, 2); }},
    {"truncated", [](auto& b) { b.resize(b.size() / 2); }},
    {"length past the end", [](auto& b) { PutU32(b, 8, static_cast<std::uint32_t>(b.size() + 1)); }},
    {"length inside the header", [](auto& b) { PutU32(b, 8, 12); }},
    {"end mark missing", [](auto& b) { b[b.size() - 1] = 'X'; }},
    {"zero stage width", [](auto& b) { PutU16(b, 12, 0); }},
    {"huge stage", [](auto& b) { PutU16(b, 14, 60000); }},
    {"zero fps", [](auto& b) { PutU16(b, 16, 0); }},
    {"zero frames", [](auto& b) { PutU32(b, 20, 0); }},
    {"fewer frames than keys", [](auto& b) { PutU32(b, 20, 5); }},
    {"too many assets", [](auto& b) { PutU16(b, 28, 300); }},
    {"more assets than bytes", [](auto& b) { PutU16(b, 28, 200); }},
    {"more layers than bytes", [](auto& b) { PutU16(b, 30, 1000); }},
    {"more actions than bytes", [](auto& b) { PutU32(b, 32, 90000); }},
    {"asset size past the end", [](auto& b) { PutU32(b, 41, 0x7FFFFFFF); }},
    {"unknown layer kind", [](auto& b) { b[Find(b, Pattern(std::string("\x02\x00L1", 4))) + 4] = 9; }},
    {"picture outside the folder",
     [](auto& b) {
         auto at = Find(b, Pattern("tupian1.jpg"));
         std::memcpy(&b[at], "../ian1.jpg", 11);
     }},
    {"keys out of order", [](auto& b) { PutU32(b, Find(b, KeyPattern(7, 123.5f)), 0); }},
    {"key beyond the last frame", [](auto& b) { PutU32(b, Find(b, KeyPattern(7, 123.5f)), 50); }},
    {"key value not a number", [](auto& b) { PutU32(b, Find(b, KeyPattern(7, 123.5f)) + 4, 0x7FC00000); }},
    {"alpha above one",
     [](auto& b) { PutU32(b, Find(b, KeyPattern(10, 1.0f)) + 4, std::bit_cast<std::uint32_t>(2.0f)); }},
    {"action beyond the last frame", [](auto& b) { PutU32(b, Find(b, Pattern("hello")) - 7, 60); }},
    {"unknown action", [](auto& b) { b[Find(b, Pattern("hello")) - 3] = 7; }},
    {"text not UTF-8", [](auto& b) { b[Find(b, Pattern("world"))] = 0xFF; }},
    {"jump beyond the last frame", [](auto& b) { PutU32(b, b.size() - 8, 77); }},
};

class DamagedMovie : public testing::TestWithParam<Damage> {};

TEST_P(DamagedMovie, IsRefusedWithAMessage)
{
    std::vector<std::uint8_t> bytes = flash::WriteMovie(SampleMovie());
    GetParam().apply(bytes);
    try {
        flash::ReadMovie(bytes);
        FAIL() << "accepted";
    } catch (const flash::MovieError& error) {
        EXPECT_GT(std::strlen(error.what()), 10u);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DamagedMovie, testing::ValuesIn(kDamages), [](const auto& info) {
    std::string n = info.param.name;
    std::replace_if(
        n.begin(), n.end(), [](char c) { return !isalnum(c); }, '_');
    return n;
});

TEST(Track, InterpolatesByTheEarlierKeysEase)
{
    flash::Track t;
    t.keys = {{10, 0, flash::Ease::Linear},
              {20, 100, flash::Ease::Hold},
              {30, 0, flash::Ease::In},
              {40, 100, flash::Ease::Out},
              {50, 0, flash::Ease::Linear}};
    struct Case {
        double frame, value;
    } cases[] = {{0, 0},  {10, 0},  {15, 50}, {20, 100}, {25, 100}, {29.9, 100},
                 {30, 0}, {35, 25}, {45, 25}, {50, 0},   {99, 0}};
    for (auto c : cases) EXPECT_NEAR(t.ValueAt(c.frame, -1), c.value, 1e-9) << c.frame;
    EXPECT_EQ(flash::Track{}.ValueAt(3, 7.5), 7.5);
}

TEST(Segments, FollowThePhotoRequests)
{
    Movie m;
    m.frame_count = 300;
    m.actions = {{0, flash::ActionKind::FSCommand, "tupian=3", "", 0},
                 {0, flash::ActionKind::LoadPoint, "", "", 0},
                 {100, flash::ActionKind::FSCommand, "tupian=2", "", 0},
                 {150, flash::ActionKind::FSCommand, "tupian=03", "", 0},
                 {200, flash::ActionKind::FSCommand, "tupian=16", "", 0},
                 {220, flash::ActionKind::FSCommand, "tupian=4", "", 0}};
    auto s = flash::SegmentsOf(m);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].start_frame, 0u);
    EXPECT_EQ(s[0].end_frame, 100u);
    EXPECT_EQ(s[0].photos, 3);
    EXPECT_EQ(s[1].end_frame, 220u);
    EXPECT_EQ(s[1].photos, 2);
    EXPECT_EQ(s[2].end_frame, 299u);
    EXPECT_EQ(s[2].photos, 4);
}

}  // namespace
