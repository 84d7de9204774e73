#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/shipped_templates.h"
#include "platform/flash/movie_file.h"

namespace {

namespace fs = std::filesystem;

flash::Movie Shipped(const std::string& name)
{
    std::ifstream file(fs::path(VELMORA_DATA_OUT) / name, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return flash::ReadMovie(bytes);
}

bool HasLyricLayer(const flash::Movie& m)
{
    for (const auto& layer : m.layers)
        if (layer.kind == flash::LayerKind::Text && layer.text_source == flash::TextSource::Variable &&
            layer.text == "LRC_geci" && (layer.style & flash::kTextLyric))
            return true;
    return false;
}

TEST(ShippedMovies, AllReadBackAndPlayAtTwentyFiveFrames)
{
    for (const char* name :
         {"xtsz/rjjj.swf", "xtsz/wzpyl.swf", "xtsz/LRC_yulan.swf", "pwwjj/wu_pwwj.swf", "llzp/zpjj1.swf",
          "llzp/zpjj2.swf", "jjzp/zpjj1.swf", "jjzp/zpjj2.swf", "template-movies/ending.swf"}) {
        flash::Movie m = Shipped(name);
        EXPECT_EQ(m.fps, 25) << name;
    }
    EXPECT_TRUE(HasLyricLayer(Shipped("xtsz/LRC_yulan.swf")));
    EXPECT_EQ(Shipped("llzp/zpjj1.swf"), Shipped("llzp/zpjj2.swf"));
    EXPECT_EQ(Shipped("jjzp/zpjj1.swf"), Shipped("jjzp/zpjj2.swf"));
}

TEST(ShippedMovies, PlaceholderOfTheEndingSaysNoneIsImportedYet)
{
    std::vector<std::string> texts;
    for (const auto& layer : Shipped("pwwjj/wu_pwwj.swf").layers)
        if (layer.kind == flash::LayerKind::Text && layer.text_source == flash::TextSource::Fixed)
            texts.push_back(layer.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"片尾预览", "尚未导入片尾模板"}));
}

TEST(ShippedMovies, EffectTemplatesAskForPhotosAtTheirSegmentStarts)
{
    for (const shipped::EffectTemplate& t : shipped::kEffectTemplates) {
        SCOPED_TRACE(t.movie);
        flash::Movie m = Shipped("template-movies/" + std::string(t.movie) + ".swf");
        EXPECT_EQ(m.fps, 25);
        EXPECT_GE(m.frame_count, 250u);
        EXPECT_TRUE(HasLyricLayer(m));
        auto segments = flash::SegmentsOf(m);
        ASSERT_GE(segments.size(), 2u);
        EXPECT_EQ(segments.front().start_frame, 0u);
        EXPECT_EQ(segments.back().end_frame, m.frame_count - 1);
        for (const auto& segment : segments) {
            EXPECT_LT(segment.start_frame, m.frame_count - 1);  // no request on the last frame
            // The request is followed, on its frame, by a load point.
            bool loads = false, after_request = false;
            for (const auto& action : m.actions) {
                if (action.frame != segment.start_frame) continue;
                if (action.kind == flash::ActionKind::FSCommand) after_request = true;
                if (action.kind == flash::ActionKind::LoadPoint && after_request) loads = true;
            }
            EXPECT_TRUE(loads) << "segment at " << segment.start_frame;
        }
    }
}

}  // namespace

// The movie format's page describes every shipped effect template; the list
// of them is data/shipped_templates.cmake, which the page cannot be made from.
TEST(ShippedMovies, TheMovieFormatPageDescribesEveryEffectTemplate)
{
    std::ifstream page(fs::path(VELMORA_SOURCE_DIR) / "docs/movie-format.md");
    const std::string text((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    for (const shipped::EffectTemplate& t : shipped::kEffectTemplates)
        EXPECT_NE(text.find("| \"" + std::string(t.movie) + ".swf\" |"), std::string::npos) << t.movie;
}
