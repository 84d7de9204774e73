#include <gtest/gtest.h>

#include <filesystem>
#include <cstring>
#include <fstream>

#include "platform/core/application.h"
#include "platform/core/text.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/movie_source.h"
#include "platform/flash/player.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image_io.h"
#include "tests/gfx/exif_jpeg.h"

namespace {

namespace fs = std::filesystem;

class PlayerTest : public testing::Test {
protected:
    core::TestApplication test_app;
    fs::path dir =
        fs::temp_directory_path() /
        ("velmora_flash_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    flash::Player player;

    PlayerTest()
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~PlayerTest() override { fs::remove_all(dir); }

    fs::path WriteMovie(const std::string& source, const std::string& name = "m.swf")
    {
        auto bytes = flash::WriteMovie(flash::CompileMovieSource(source, dir, name));
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return dir / name;
    }
    void WritePicture(const std::string& name, TColor colour, int w = 64, int h = 48)
    {
        gfx::SaveJpeg(TBitmap(w, h, colour), dir / name);
    }
    // Plays one frame period.
    void Tick() { test_app.RunForMs(40); }
    TBitmap Paint(int w = 352, int h = 288)
    {
        TBitmap b(w, h, clFuchsia);
        player.Render(b, TRect(0, 0, w, h));
        return b;
    }
    static bool Near(TColor a, TColor b, int tolerance = 24)
    {
        return std::abs(gfx::GetRValue(a) - gfx::GetRValue(b)) <= tolerance &&
               std::abs(gfx::GetGValue(a) - gfx::GetGValue(b)) <= tolerance &&
               std::abs(gfx::GetBValue(a) - gfx::GetBValue(b)) <= tolerance;
    }
};

TEST_F(PlayerTest, PlaysOneFramePerPeriodLoopsAndRestartsFromTheEnd)
{
    ASSERT_TRUE(player.Load(WriteMovie("movie 352 288 fps 25 frames 250\n")));
    EXPECT_EQ(player.TotalFrames(), 250);
    EXPECT_EQ(player.FrameNum(), 0);
    EXPECT_TRUE(player.Playing());
    for (int i = 1; i <= 260; ++i) {
        Tick();
        ASSERT_EQ(player.FrameNum(), i % 250) << "after " << i << " periods";
    }
    // FrameNum := TotalFrames parks on the last frame; Play restarts at 0.
    player.Stop();
    player.SetFrameNum(250);
    EXPECT_EQ(player.FrameNum(), 249);
    player.Play();
    EXPECT_EQ(player.FrameNum(), 0);
    Tick();
    EXPECT_EQ(player.FrameNum(), 1);
    // Stopped, it never moves by itself; jumps clamp.
    player.Stop();
    test_app.RunForMs(2000);
    EXPECT_EQ(player.FrameNum(), 1);
    player.SetFrameNum(-5);
    EXPECT_EQ(player.FrameNum(), 0);
    player.SetFrameNum(1000);
    EXPECT_EQ(player.FrameNum(), 249);
}

TEST_F(PlayerTest, AMovieAsksForARepaintOnlyWhenItsFrameChanges)
{
    struct Case {
        const char* source;
        int changes;  // OnChange calls in ten periods
    } const cases[] = {
        {"movie 352 288 fps 25 frames 1\n", 0},  // a still that loops on itself
        {"movie 352 288 fps 25 frames 5\n", 10},
    };
    for (const Case& c : cases) {
        int changes = 0;
        player.OnChange = [&] { ++changes; };
        ASSERT_TRUE(player.Load(WriteMovie(c.source)));
        EXPECT_GE(changes, 1) << c.source << "a load shows a new picture";
        changes = 0;
        for (int i = 0; i < 10; ++i) Tick();
        EXPECT_EQ(changes, c.changes) << c.source;
        player.OnChange = nullptr;
    }
}

TEST_F(PlayerTest, CommandsFireOnceOnPlayAndOnSeek)
{
    ASSERT_TRUE(player.Load(WriteMovie("movie 352 288 frames 20\nat 7 fscommand \"tupian=3\" \"x\"\n")));
    std::vector<std::pair<std::string, int>> seen;
    player.OnFSCommand = [&](const std::string& command, const std::string& args) {
        EXPECT_EQ(args, "x");
        seen.emplace_back(command, player.FrameNum());
    };
    for (int i = 0; i < 19; ++i) Tick();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(std::string("tupian=3"), 7));
    player.Stop();
    player.SetFrameNum(7);
    EXPECT_EQ(seen.size(), 2u);
    player.SetFrameNum(7);  // standing there already: nothing entered
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(PlayerTest, APumpingHandlerSeesNoNestedAdvanceOrCommand)
{
    ASSERT_TRUE(
        player.Load(WriteMovie("movie 352 288 frames 20\nat 7 fscommand \"first\"\nat 8 fscommand "
                               "\"second\"\nat 9 fscommand \"third\"\n")));
    int depth = 0, max_depth = 0;
    std::vector<std::string> order;
    player.OnFSCommand = [&](const std::string& command, const std::string&) {
        ++depth;
        max_depth = std::max(max_depth, depth);
        order.push_back(command);
        if (command == "first") {
            // The handler pumps for a while, as the photo-slot handlers do.
            test_app.RunForMs(400);
            EXPECT_EQ(player.FrameNum(), 7);
            // A jump from inside enters frame 8, whose command waits.
            player.SetFrameNum(8);
            EXPECT_EQ(order.size(), 1u);
        }
        --depth;
    };
    for (int i = 0; i < 7; ++i) Tick();
    EXPECT_EQ(max_depth, 1);
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(player.FrameNum(), 8);
    Tick();
    EXPECT_EQ(order.back(), "third");
}

TEST_F(PlayerTest, PicturesAreReadAtLoadPointsOnly)
{
    WritePicture("tupian1.jpg", clRed);
    ASSERT_TRUE(
        player.Load(WriteMovie("movie 352 288 frames 20\nlayer p image file \"tupian1.jpg\"\nat 10 load\n")));
    player.Stop();
    EXPECT_TRUE(Near(Paint().Pixel(176, 144), clRed));
    // Deleted after its load point: still shown.
    fs::remove(dir / "tupian1.jpg");
    player.SetFrameNum(5);
    EXPECT_TRUE(Near(Paint().Pixel(176, 144), clRed));
    // Rewritten before the next load point: shown from that point on.
    WritePicture("tupian1.jpg", clBlue);
    player.SetFrameNum(9);
    EXPECT_TRUE(Near(Paint().Pixel(176, 144), clRed));
    player.SetFrameNum(10);
    EXPECT_TRUE(Near(Paint().Pixel(176, 144), clBlue));
    // Missing at a load point: nothing drawn (the background shows).
    fs::remove(dir / "tupian1.jpg");
    player.SetFrameNum(0);
    player.SetFrameNum(10);
    EXPECT_TRUE(Near(Paint().Pixel(176, 144), clBlack));
}

TEST_F(PlayerTest, CommandRunsBeforeTheLoadPointOfItsFrame)
{
    WritePicture("tupian1.jpg", clRed);
    ASSERT_TRUE(
        player.Load(WriteMovie("movie 352 288 frames 20\nlayer p image file \"tupian1.jpg\"\n"
                               "at 5 fscommand \"tupian=1\"\nat 5 load\n")));
    player.Stop();
    player.OnFSCommand = [&](const std::string&, const std::string&) { WritePicture("tupian1.jpg", clLime); };
    player.SetFrameNum(5);
    EXPECT_TRUE(Near(Paint().Pixel(10, 10), clLime));
}

TEST_F(PlayerTest, SeekAndPlayGiveIdenticalPixels)
{
    WritePicture("tupian1.jpg", clRed, 200, 120);
    WritePicture("tupian2.jpg", clYellow, 90, 160);
    fs::path movie = WriteMovie(R"(movie 352 288 frames 60 background #203040
layer g rect gradient radial #FFFFFFFF #00000000 box 200 200 anchor center
  key 0 x 100 y 100 rot 0
  key 59 x 250 y 200 rot 180
layer a image file "tupian1.jpg" fit cover box 200 150 anchor center
  key 0 ease inout x 176 y 144 scale 0.5 rot -10 alpha 0.3
  key 50 scale 1.3 rot 15 alpha 1
layer b image file "tupian2.jpg" fit contain box 120 100 anchor center
  key 0 x 60 y 200 clip 0 0 0 288
  key 40 clip 0 0 352 288
at 0 load
)");
    ASSERT_TRUE(player.Load(movie));
    for (int i = 0; i < 37; ++i) Tick();
    ASSERT_EQ(player.FrameNum(), 37);
    TBitmap played = Paint(704, 576);

    flash::Player seeking;
    ASSERT_TRUE(seeking.Load(movie));
    seeking.Stop();
    seeking.SetFrameNum(37);
    TBitmap sought(704, 576, clFuchsia);
    seeking.Render(sought, TRect(0, 0, 704, 576));
    EXPECT_EQ(std::memcmp(played.Pixels(), sought.Pixels(), 704 * 576 * 4), 0);
}

// The bounding box of the pixels near a colour.
TRect Extent(const TBitmap& b, TColor colour)
{
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) == colour) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r;
}

TEST_F(PlayerTest, LyricLineTakesTheStyleVariablesAndScales)
{
    ASSERT_TRUE(
        player.Load(WriteMovie(std::string("movie 352 288\nlayer l text var \"LRC_geci\" lyric font \"") +
                               gfx::kTestFontName + "\" box 342 30\n  key 0 x 5 y 250\n")));
    player.SetVariable("LRC_geci", "ABCD");
    player.SetVariable("LRC_geciyanse", "0x00FF00");
    player.SetVariable("LRC_gecidaxiao", "20");
    player.SetVariable("LRC_ju_zuozhongyou", "left");
    player.SetVariable("LRC_x", "100");
    player.SetVariable("LRC_y", "60");
    TRect small = Extent(Paint(), clLime);
    ASSERT_FALSE(small.IsEmpty());
    EXPECT_NEAR(small.Left, 100, 3);
    EXPECT_NEAR(small.Top, 60, 12);
    EXPECT_NEAR(small.Height(), 17, 5);
    TRect big = Extent(Paint(704, 576), clLime);
    EXPECT_NEAR(big.Left, 200, 6);
    EXPECT_NEAR(big.Top, 2 * small.Top, 6);
    EXPECT_NEAR(big.Width(), 2 * small.Width(), 6);
    // Another colour and alignment take effect at the next paint.
    player.SetVariable("LRC_geciyanse", "0xFF0000");
    player.SetVariable("LRC_ju_zuozhongyou", "right");
    player.SetVariable("LRC_x", "5");
    TBitmap again = Paint();
    EXPECT_TRUE(Extent(again, clLime).IsEmpty());
    EXPECT_NEAR(Extent(again, clRed).Right, 5 + 342, 3);
}

TEST_F(PlayerTest, ShippedCropViewerSendsWanChengAndFillsTheCentralHalf)
{
    fs::path shipped = fs::path(VELMORA_DATA_OUT) / "jjzp" / "zpjj1.swf";
    fs::copy_file(shipped, dir / "zpjj1.swf");
    WritePicture("zpjj.jpg", clRed, 626, 708);
    int wan_cheng = 0;
    player.OnFSCommand = [&](const std::string& command, const std::string&) {
        if (command == "wan_cheng") ++wan_cheng;
    };
    ASSERT_TRUE(player.Load(dir / "zpjj1.swf"));
    EXPECT_EQ(wan_cheng, 1);
    test_app.RunForMs(1000);
    EXPECT_EQ(wan_cheng, 1);
    TBitmap view = Paint(1252, 1416);
    TRect red = Extent(view, view.Pixel(626, 708));
    EXPECT_TRUE(Near(view.Pixel(626, 708), clRed));
    EXPECT_NEAR(red.Left, 313, 2);
    EXPECT_NEAR(red.Top, 354, 2);
    EXPECT_NEAR(red.Width(), 626, 3);
    EXPECT_NEAR(red.Height(), 708, 3);
}

// A phone photo staged as it was taken, stored lying on its side with the
// EXIF orientation 6: the viewer shows it standing, its stored left column
// (red over blue) along its top.
TEST_F(PlayerTest, ShippedCropViewerShowsAPhotoTheWayItsOrientationSays)
{
    fs::copy_file(fs::path(VELMORA_DATA_OUT) / "jjzp" / "zpjj1.swf", dir / "zpjj1.swf");
    gfx::WriteFileBytes(dir / "zpjj.jpg",
                        gfx_test::WithSegments(gfx::EncodeJpeg(gfx_test::Quadrants(400, 200)),
                                               gfx_test::ExifSegment(gfx_test::OrientationTiff(false, 6))));
    ASSERT_TRUE(player.Load(dir / "zpjj1.swf"));
    const TBitmap view = Paint(1252, 1416);
    TRect shown(view.Width(), view.Height(), -1, -1);
    for (int y = 0; y < view.Height(); y += 2)
        for (int x = 0; x < view.Width(); x += 2)
            if (gfx_test::QuadrantAt(view, x, y) != '?') {
                shown.Left = std::min(shown.Left, x), shown.Right = std::max(shown.Right, x + 1);
                shown.Top = std::min(shown.Top, y), shown.Bottom = std::max(shown.Bottom, y + 1);
            }
    ASSERT_GT(shown.Width(), 0);
    EXPECT_GT(shown.Height(), shown.Width());
    TBitmap photo(shown.Width(), shown.Height());
    for (int y = 0; y < photo.Height(); ++y)
        for (int x = 0; x < photo.Width(); ++x)
            photo.SetPixel(x, y, view.Pixel(shown.Left + x, shown.Top + y));
    EXPECT_EQ(gfx_test::Corners(photo, 8), "BRYG");
}

TEST_F(PlayerTest, BareJpegIsAStillFittedWithItsAspect)
{
    WritePicture("photo.jpg", clRed, 200, 100);
    ASSERT_TRUE(player.Load(dir / "photo.jpg"));
    EXPECT_EQ(player.TotalFrames(), 1);
    TBitmap b = Paint(92, 67);
    EXPECT_TRUE(Near(b.Pixel(46, 33), clRed));
    EXPECT_TRUE(Near(b.Pixel(46, 3), clBlack));  // 92 x 46 picture, centred
    EXPECT_TRUE(Near(b.Pixel(1, 33), clRed));
}

TEST_F(PlayerTest, PaintToAnOffsetClipsToTheTarget)
{
    ASSERT_TRUE(player.Load(WriteMovie("movie 352 288 background #0000FF\n")));
    TBitmap b(100, 100, clWhite);
    player.Render(b, TRect(50, 60, 50 + 352, 60 + 288));
    EXPECT_EQ(b.Pixel(49, 70), clWhite);
    EXPECT_EQ(b.Pixel(50, 60), clBlue);
    EXPECT_EQ(b.Pixel(99, 99), clBlue);
}

TEST_F(PlayerTest, UnusableFilesAreRefusedWithAMessage)
{
    std::ofstream(dir / "junk.swf") << "this is not a movie";
    std::ofstream(dir / "broken.jpg", std::ios::binary) << "\xFF\xD8\xFF\xE0 truncated";
    auto movie = flash::WriteMovie(flash::CompileMovieSource("movie 10 10 frames 3\n", dir, "x"));
    movie.resize(movie.size() - 10);
    std::ofstream(dir / "cut.swf", std::ios::binary).write(reinterpret_cast<const char*>(movie.data()), 30);
    for (const char* name : {"junk.swf", "broken.jpg", "cut.swf", "missing.swf"}) {
        ASSERT_TRUE(player.Load(WriteMovie("movie 10 10 frames 5\n", "good.swf")));
        EXPECT_FALSE(player.Load(dir / name)) << name;
        EXPECT_EQ(player.TotalFrames(), 0) << name;
        EXPECT_NE(player.LoadError().find(name), std::string::npos) << player.LoadError();
        EXPECT_FALSE(player.Playing());
    }
}

TEST_F(PlayerTest, EndingTextsComeFromTheTextFilesAtLoadPoints)
{
    EXPECT_EQ(flash::TextFileLine("txt1=\xBB\xB6\xD3\xAD\r\nmore"), "欢迎");  // GBK
    EXPECT_EQ(flash::TextFileLine("txt2=plain"), "plain");
    std::ofstream(dir / "txt_1.txt", std::ios::binary) << "txt1=WXYZ\r\n";
    ASSERT_TRUE(player.Load(
        WriteMovie(std::string("movie 352 288 frames 5\nlayer t text file \"txt_1.txt\" font \"") +
                   gfx::kTestFontName + "\" size 20 color #00FF00 box 352 40\nat 3 load\n")));
    player.Stop();
    TRect shown = Extent(Paint(), clLime);
    EXPECT_NEAR(shown.Width(), 4 * 10, 4);
    // Rewritten: the new text shows from the next load point.
    std::ofstream(dir / "txt_1.txt", std::ios::binary) << "txt1=WX\r\n";
    EXPECT_EQ(Extent(Paint(), clLime), shown);
    player.SetFrameNum(3);
    EXPECT_NEAR(Extent(Paint(), clLime).Width(), 2 * 10, 4);
}

TEST_F(PlayerTest, TextsWiderThanTheirBoxShrinkToFitAndTheLyricLineKeepsItsSize)
{
    struct Case {
        const char* name;
        const char* layer;  // text source and style
        const char* text;
        int narrowest, widest;  // of the drawn text; the box font draws h/2 a character
    };
    // A box 100 wide at x 50; the box font draws size 20 characters 10 wide.
    for (const Case& c : {Case{"fits", "var \"t\"", "ABCD", 38, 42},
                          Case{"too wide", "var \"t\"", "ABCDEFGHIJKLMNOP", 88, 100},
                          Case{"lyric", "var \"LRC_geci\" lyric", "ABCDEFGHIJKLMNOP", 158, 162}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(player.Load(WriteMovie(
            std::string("movie 352 288 frames 1\nlayer t text ") + c.layer + " font \"" + gfx::kTestFontName +
            "\" size 20 color #00FF00 align center box 100 30\n" + "  key 0 x 50 y 100\n")));
        player.SetVariable(std::string(c.layer).find("LRC") != std::string::npos ? "LRC_geci" : "t", c.text);
        const TRect shown = Extent(Paint(), clLime);
        ASSERT_FALSE(shown.IsEmpty());
        EXPECT_GE(shown.Width(), c.narrowest);
        EXPECT_LE(shown.Width(), c.widest);
        EXPECT_NEAR((shown.Left + shown.Right) / 2, 100, 3);
    }
}

TEST_F(PlayerTest, LongTextsShrinkOnlyToAReadableSizeThenWrapInsideTheirBox)
{
    struct Case {
        const char* name;
        std::string text;
        int min_width, max_width, min_height, max_height;  // of the drawn text
    };
    std::string latin;
    for (int i = 0; i < 10; ++i) latin += "ABCDE ";
    latin += "F";  // 61 characters
    std::string chinese;
    for (int i = 0; i < 61; ++i) chinese += "谢";
    // A box 100 x 30 at x 50; the box font at size 20 draws characters 10
    // wide (20 for Chinese) in lines 20 apart; 60 % of it is 12, where boxes
    // stand 9 tall.
    for (const Case& c : {Case{"one line shrunk", "ABCDEFGHIJKLMNOP", 88, 100, 9, 11},
                          // Two words a line, two lines: the rest is cut.
                          Case{"long latin", latin, 64, 68, 20, 23},
                          // Eight characters a line, two lines.
                          Case{"long chinese", chinese, 94, 98, 20, 23}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(player.Load(WriteMovie(
            std::string("movie 352 288 frames 1\nlayer t text var \"t\" font \"") + gfx::kTestFontName +
            "\" size 20 color #00FF00 align center box 100 30\n"
            "  key 0 x 50 y 100\n")));
        player.SetVariable("t", c.text);
        const TRect shown = Extent(Paint(), clLime);
        ASSERT_FALSE(shown.IsEmpty());
        EXPECT_GE(shown.Width(), c.min_width);
        EXPECT_LE(shown.Width(), c.max_width);
        EXPECT_GE(shown.Height(), c.min_height);
        EXPECT_LE(shown.Height(), c.max_height);
        EXPECT_NEAR((shown.Left + shown.Right) / 2, 100, 3);
        EXPECT_NEAR((shown.Top + shown.Bottom) / 2, 115, 3);  // centred in the box
    }
}

TEST_F(PlayerTest, ShippedEndingKeepsALongTitleInsideThePicture)
{
    fs::copy_file(fs::path(VELMORA_DATA_OUT) / "template-movies" / "ending.swf", dir / "pwwj1.swf");
    WritePicture("pwtp.jpg", clGray, 352, 288);
    // Painted at the still frame, without and with the texts.
    auto still = [&](const std::string& title, const std::string& text) {
        std::ofstream(dir / "txt_1.txt", std::ios::binary) << core::Utf8ToGbk("txt1=" + title + "\r\n");
        std::ofstream(dir / "txt_2.txt", std::ios::binary) << core::Utf8ToGbk("txt2=" + text + "\r\n");
        EXPECT_TRUE(player.Load(dir / "pwwj1.swf"));
        player.SetFrameNum(150);
        player.Stop();
        return Paint();
    };
    const TBitmap bare = still("", "");
    const TBitmap titled = still("谢谢观看 Goodbye 再见", "谢谢观看 Thank you for watching");
    // The texts' box ends 8 pixels before the picture's right edge.
    int rightmost = -1;
    for (int y = 0; y < 288; ++y)
        for (int x = 0; x < 352; ++x)
            if (bare.Pixel(x, y) != titled.Pixel(x, y)) rightmost = std::max(rightmost, x);
    ASSERT_GE(rightmost, 300);
    EXPECT_LT(rightmost, 346);
}

}  // namespace
