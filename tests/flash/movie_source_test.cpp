#include <gtest/gtest.h>

#include "platform/core/files.h"

#include <filesystem>
#include <fstream>

#include "platform/flash/movie_file.h"
#include "platform/flash/movie_source.h"

namespace {

flash::Movie Compile(const std::string& text, const std::filesystem::path& dir = ".")
{
    return flash::CompileMovieSource(text, dir, "test.movie");
}

TEST(MovieSource, CompilesLayersKeysAndActions)
{
    flash::Movie m = Compile(R"(# a comment line
movie 352 288 fps 25 frames 100 background #102030
layer bg rect gradient vertical #FF0000 #0000FF80   # top red, bottom half-transparent blue
layer photo image file "tupian1.jpg" box 200 100 anchor center fit cover frames 10 end
  key 10 ease out x 176 y 144 scale 1.2 alpha 0
  key 30 alpha 1 rot -5 clip 0 0 352 288
layer lyric text var "LRC_geci" lyric size 14 color #FFFFFF align center bold shadow #00000080 box 342 30
at 10 fscommand "tupian=3"
at 10 load
at 0 fscommand "start" "now"
at end goto 10
)");
    EXPECT_EQ(m.width, 352);
    EXPECT_EQ(m.frame_count, 100u);
    EXPECT_EQ(m.background, 0xFF302010u);
    ASSERT_EQ(m.layers.size(), 3u);
    EXPECT_EQ(m.layers[0].fill, flash::Fill::Vertical);
    EXPECT_EQ(m.layers[0].color, 0xFF0000FFu);
    EXPECT_EQ(m.layers[0].color2, 0x80FF0000u);
    const flash::Layer& photo = m.layers[1];
    EXPECT_EQ(photo.file, "tupian1.jpg");
    EXPECT_EQ(photo.fit, flash::Fit::Cover);
    EXPECT_EQ(photo.first_frame, 10u);
    EXPECT_EQ(photo.last_frame, 99u);
    EXPECT_FLOAT_EQ(photo.anchor_x, 0.5f);
    ASSERT_EQ(photo.track(flash::Property::Alpha).keys.size(), 2u);
    EXPECT_EQ(photo.track(flash::Property::Alpha).keys[0].ease, flash::Ease::Out);
    EXPECT_EQ(photo.track(flash::Property::ScaleY).keys[0].value, 1.2f);
    EXPECT_EQ(photo.track(flash::Property::ClipRight).keys[0].value, 352.0f);
    const flash::Layer& lyric = m.layers[2];
    EXPECT_EQ(lyric.text_source, flash::TextSource::Variable);
    EXPECT_EQ(lyric.style, flash::kTextLyric | flash::kTextBold);
    EXPECT_EQ(lyric.align, flash::Align::Center);
    // Actions come out ordered by frame, in source order within a frame.
    ASSERT_EQ(m.actions.size(), 4u);
    EXPECT_EQ(m.actions[0].command, "start");
    EXPECT_EQ(m.actions[0].args, "now");
    EXPECT_EQ(m.actions[1].command, "tupian=3");
    EXPECT_EQ(m.actions[2].kind, flash::ActionKind::LoadPoint);
    EXPECT_EQ(m.actions[3].frame, 99u);
    EXPECT_EQ(m.actions[3].target, 10u);
    EXPECT_EQ(flash::ReadMovie(flash::WriteMovie(m)), m);
}

TEST(MovieSource, EmbedsAssetsByContent)
{
    core::TempDir temp;
    const auto& dir = temp.Path();
    {
        std::ofstream(dir / "a.png", std::ios::binary) << "\x89PNG\r\n\x1a\nrest";
    }
    {
        std::ofstream(dir / "b.txt", std::ios::binary) << "plain text";
    }
    flash::Movie m = Compile("movie 10 10\nasset logo \"a.png\"\nlayer l image asset logo\n", dir);
    ASSERT_EQ(m.assets.size(), 1u);
    EXPECT_EQ(m.assets[0].kind, flash::AssetKind::Png);
    EXPECT_EQ(m.layers[0].asset, 0);
    EXPECT_THROW(Compile("movie 10 10\nasset t \"b.txt\"\n", dir), flash::MovieError);
    EXPECT_THROW(Compile("movie 10 10\nasset t \"missing.png\"\n", dir), flash::MovieError);
}

struct BadSource {
    const char* text;
    const char* message;
};

class BadMovieSource : public testing::TestWithParam<BadSource> {};

TEST_P(BadMovieSource, NamesTheLineAndTheFault)
{
    try {
        Compile(GetParam().text);
        FAIL() << "accepted";
    } catch (const flash::MovieError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadMovieSource,
    testing::Values(BadSource{"layer a rect\n", "test.movie:1: the first statement must be 'movie'"},
                    BadSource{"", "no 'movie' line"}, BadSource{"movie 0 288\n", ":1: bad stage size"},
                    BadSource{"movie 352 288 fps 0\n", "bad frame rate"},
                    BadSource{"movie 352 288 frames 10\nat 10 stop\n",
                              ":2: frame 10 is beyond the last frame 9"},
                    BadSource{"movie 352 288\nkey 0 x 1\n", "'key' before any layer"},
                    BadSource{"movie 352 288\nlayer a rect color red\n", "expected a colour"},
                    BadSource{"movie 352 288\nlayer a image file tupian1.jpg\n", "in quotes"},
                    BadSource{"movie 352 288\nlayer a image file \"../x.jpg\"\n", "not a plain file name"},
                    BadSource{"movie 352 288\nlayer a image file \"/etc/x.jpg\"\n", "not a plain file name"},
                    BadSource{"movie 352 288\nlayer a text file \"sub\\\\x.txt\"\n", "not a plain file name"},
                    BadSource{"movie 352 288\nlayer a image asset nothing\n", "unknown asset 'nothing'"},
                    BadSource{"movie 352 288\nlayer a rect size 3\n", "unknown option 'size'"},
                    BadSource{"movie 352 288 frames 5\nlayer a rect\nkey 1 x 1\nkey 1 x 2\n", ":4: two keys"},
                    BadSource{"movie 352 288\nlayer a rect\nkey 0 alpha 2\n", "alpha runs from 0 to 1"},
                    BadSource{"movie 352 288\nlayer a rect\nkey 0 ease sideways x 1\n", "unknown ease"},
                    BadSource{"movie 352 288\nlayer a text fixed \"open\n", "unclosed quote"},
                    BadSource{"movie 352 288\nat 0 jump 3\n", "unknown action 'jump'"},
                    BadSource{"movie 352 288\nat 0 fscommand \"\"\n", "empty command"},
                    BadSource{"movie 352 288 frames 9\nlayer a rect frames 5 2\n", "backwards"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
