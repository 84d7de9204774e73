#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/movie_source.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"

namespace {

namespace fs = std::filesystem;

class ShockwaveFlash : public testing::Test {
protected:
    core::TestApplication app;
    // Each test gets its own folder: ctest runs the cases of this fixture in
    // parallel processes.
    core::TempDir temp;
    fs::path dir = temp.Path();
    TForm* form;

    ShockwaveFlash()
    {
        ui::Headless();
        form = new TForm(&App());
        form->SetBounds(0, 0, 800, 700);
        fs::create_directories(dir);
        // Left half red, right half blue; a command on frame 2.
        auto bytes = flash::WriteMovie(flash::CompileMovieSource(
            "movie 352 288 frames 4 background #0000FF\nlayer l rect color #FF0000 box 176 288\n"
            "at 2 fscommand \"tupian=2\"\n",
            dir, "t"));
        std::ofstream(dir / "t.swf", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_F(ShockwaveFlash, PaintsTheStageScaledToItsSizeAtAnOffsetWhileHidden)
{
    auto* flash = new TShockwaveFlash(form);
    flash->SetParent(form);
    flash->SetBounds(0, 0, 704, 576);
    flash->SetMovie((dir / "t.swf").string());
    flash->Hide();
    EXPECT_EQ(flash->TotalFrames(), 4);
    TBitmap frame(720, 600, clWhite);
    flash->PaintTo(frame.Canvas(), 10, 20);
    EXPECT_EQ(frame.Pixel(9, 30), clWhite);
    EXPECT_EQ(frame.Pixel(10, 20), clRed);
    EXPECT_EQ(frame.Pixel(10 + 351, 300), clRed);
    EXPECT_EQ(frame.Pixel(10 + 353, 300), clBlue);
    EXPECT_EQ(frame.Pixel(10 + 703, 20 + 575), clBlue);
    EXPECT_EQ(frame.Pixel(10 + 704, 300), clWhite);

    // The thumbnail size: 92 x 67 from the same stage.
    flash->SetBounds(0, 0, 92, 67);
    TBitmap thumb(92, 67, clWhite);
    flash->PaintTo(thumb, 0, 0);
    EXPECT_EQ(thumb.Pixel(45, 33), clRed);
    EXPECT_EQ(thumb.Pixel(47, 33), clBlue);
}

TEST_F(ShockwaveFlash, RaisesCommandsWithItselfAsSender)
{
    auto* flash = new TShockwaveFlash(form);
    TObject* sender = nullptr;
    std::string seen;
    flash->OnFSCommand = [&](TObject* s, const std::string& command, const std::string&) {
        sender = s;
        seen = command;
    };
    flash->SetMovie((dir / "t.swf").string());
    flash->Stop();
    flash->SetFrameNum(2);
    EXPECT_EQ(sender, flash);
    EXPECT_EQ(seen, "tupian=2");
}

TEST_F(ShockwaveFlash, EveryAssignmentReloadsAndABadFileLeavesNothing)
{
    auto* flash = new TShockwaveFlash(form);
    flash->SetMovie((dir / "t.swf").string());
    flash->Stop();
    flash->SetFrameNum(3);
    flash->SetMovie((dir / "t.swf").string());
    EXPECT_EQ(flash->FrameNum(), 0);
    EXPECT_TRUE(flash->Playing());
    flash->SetMovie((dir / "nothing.swf").string());
    EXPECT_EQ(flash->TotalFrames(), 0);
    EXPECT_FALSE(flash->LoadError().empty());
    flash->SetBounds(0, 0, 10, 10);
    TBitmap b(10, 10, clWhite);
    flash->PaintTo(b, 0, 0);
    EXPECT_EQ(b.Pixel(5, 5), clBlack);
}

}  // namespace
