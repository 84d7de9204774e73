// The preview of the main window on the 20-frame fixture template: the
// effect stage and its ends by sync mode, lyrics, the opening and ending
// titles, Stop, and polls that miss frames.
#include "preview_window_test.h"

#include <fstream>

#include "app/preview_engine.h"
#include "app/time_text.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "platform/media/media_player.h"
#include "platform/ui/edit.h"
#include "platform/ui/label.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_list_view.h"

namespace preview_test {
namespace {

using app::PreviewStage;

class Preview : public PreviewWindow {
protected:
    PreviewStage Stage() const { return Form1->Preview().Stage(); }
    int Frame() const { return Form1->xiao_guo_Flash->FrameNum(); }
    std::string Lyric() const { return Form1->xiao_guo_Flash->GetVariable("LRC_geci"); }
    std::string Elapsed() const { return Form1->Label5->Caption(); }
    static std::string TimeOf(int64_t frames)
    {
        return app::FramesToTimeText(static_cast<double>(frames)).HhMmSs();
    }

    // A 1-s opening title loaded into its player, and a 10-frame ending.
    void SetOpeningAndEnding()
    {
        const fs::path opening = work_ / "opening.wav";
        WriteSilence(opening, 1.0);
        Form1->WindowsMediaPlayer3->SetURL(opening.string());
        ASSERT_TRUE(RunUntil([] { return Form1->WindowsMediaPlayer3->currentMedia().duration() > 0; }, 1000));
        Form1->WindowsMediaPlayer3->controls().stop();
        Form1->OpeningFile = opening.string();
        SetEnding();
    }
    void SetEnding()
    {
        WriteMovieFile(work_ / "pwwjj" / "pwwj1.swf", 10);
        WriteMovieFile(work_ / "pwwjj" / "pwwj2.swf", 10);
        Form1->EndingFile = (work_ / "ending.mpg").string();
    }

    // Runs with the frame poll off until the movie has moved `frames` on.
    void MissPolls(TShockwaveFlash& movie, TTimer& poll, int frames)
    {
        const int total = movie.TotalFrames();
        const int target = (movie.FrameNum() + frames) % total;
        poll.SetEnabled(false);
        ASSERT_TRUE(RunUntil([&] { return movie.FrameNum() == target; }, 1000));
        poll.SetEnabled(true);
    }

    void ExpectReady(const char* when)
    {
        SCOPED_TRACE(when);
        EXPECT_EQ(Stage(), PreviewStage::kIdle);
        for (TTimer* timer : {Form1->Timer2, Form1->Timer3, Form1->Timer6}) EXPECT_FALSE(timer->Enabled());
        EXPECT_TRUE(Unlocked());
        EXPECT_EQ(FrontPane(), Form1->ScrollBox10);
        for (TScrollBox* pane : {Form1->ScrollBox11, Form1->ScrollBox12, Form1->ScrollBox14})
            EXPECT_FALSE(pane->Visible()) << pane->Name();
        EXPECT_FALSE(Form1->xiao_guo_Flash->Playing());
        EXPECT_EQ(Frame(), 0);
        EXPECT_FALSE(Form1->Pian_Wei_FLASH->Playing());
        EXPECT_NE(Form1->WindowsMediaPlayer3->playState(), wmppsPlaying);
        EXPECT_EQ(Elapsed(), "00:00:00");
        EXPECT_EQ(Form1->LRC_text->Text(), "");
        EXPECT_EQ(Form1->Edit3->Text(), "-1");
        EXPECT_EQ(Lyric(), "");
    }
};

TEST_F(Preview, OnePassOfTheTemplateEndsWithTheFirstPhotosBackAndTheControlsUnlocked)
{
    AddPhotos(3);
    ImportTemplate(FixtureTemplate());
    ASSERT_EQ(Stage(), PreviewStage::kEffect);
    EXPECT_TRUE(Locked());
    EXPECT_TRUE(Form1->kivButton3->Enabled());
    EXPECT_EQ(Slot(1), Photo(1));
    EXPECT_EQ(Slot(2), Photo(2));
    // The still hides the movie while it jumps back to its first frame.
    EXPECT_EQ(FrontPane(), Form1->ScrollBox14);
    EXPECT_TRUE(fs::exists(work_ / "zhzp" / "lswj.bmp"));

    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "3"; }));
    EXPECT_EQ(FrontPane(), Form1->ScrollBox10);
    EXPECT_FALSE(Form1->ScrollBox14->Visible());
    EXPECT_EQ(Elapsed(), "00:00:00");

    // The movie shows photo 1 (red) and photo 2 (green) in its two slots.
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "7"; }));
    TBitmap pane(Form1->xiao_guo_Flash->Width(), Form1->xiao_guo_Flash->Height());
    Form1->xiao_guo_Flash->PaintTo(pane, 0, 0);
    const TColor left = pane.Pixel(90, 130), right = pane.Pixel(262, 130);
    EXPECT_GT(gfx::GetRValue(left), 200);
    EXPECT_LT(gfx::GetGValue(left), 60);
    EXPECT_GT(gfx::GetGValue(right), 200);
    EXPECT_LT(gfx::GetRValue(right), 60);

    // Frame 10 asks for photos 3 and 1; five frames before the end the
    // next pass's photos 2 and 3 are ready.
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "14"; }));
    EXPECT_EQ(Slot(1), Photo(3));
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "15"; }));
    EXPECT_EQ(Slot(1), Photo(2));
    EXPECT_EQ(Slot(2), Photo(3));

    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kIdle; }));
    EXPECT_EQ(Ticks(), 19);
    ExpectReady("after one pass");
    EXPECT_EQ(Slot(1), Photo(1));
    EXPECT_EQ(Slot(2), Photo(2));
    EXPECT_FALSE(fs::exists(work_ / "pwwjj" / "pwtp.jpg"));

    // It stays so, and a second Play starts from photo 1 again.
    app_.RunForMs(500);
    EXPECT_EQ(Ticks(), 19);
    EXPECT_EQ(Frame(), 0);
    Form1->kivButton1->Click();
    EXPECT_EQ(Stage(), PreviewStage::kEffect);
    EXPECT_EQ(Slot(1), Photo(1));
    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kIdle; }));
    EXPECT_EQ(Ticks(), 19);
}

TEST_F(Preview, PhotosFollowingTwoSecondsOfMusicEndAtTickFifty)
{
    AddPhotos(3);
    Form1->SyncMode = "zhaopiansuiyinyue";
    Form1->MusicSeconds = 2.0;
    ImportTemplate(FixtureTemplate());
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:02");
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "49"; }));
    EXPECT_EQ(Stage(), PreviewStage::kEffect);
    EXPECT_EQ(Elapsed(), "00:00:02");
    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kIdle; }));
    EXPECT_EQ(Ticks(), 50);
    ExpectReady("after 2 s");
}

TEST_F(Preview, LyricLinesChangeByTheFramesSeenAndSongsSwitchAtTheirLength)
{
    AddPhotos(2);
    const auto write = [&](const char* name, const char* text) {
        std::ofstream(work_ / name, std::ios::binary) << text;
        return (work_ / name).string();
    };
    const std::string first = write("a.lrc", "[ti:A]\n[00:00.00]A zero\n[00:01.00]A one\n");
    const std::string second = write("b.lrc", "[00:00.00]B zero\n[00:02.50]B two\n");
    for (const auto& [name, length, lrc] :
         {std::tuple{"a", "00:01", first}, std::tuple{"b", "00:05", second}}) {
        TListItem* song = Form1->kivListView2->Items().Add();
        song->SetCaption(name);
        song->SubItems().Add(std::string(name) + ".mp3");
        song->SubItems().Add(length);
        TListItem* lyric = Form1->kivListView5->Items().Add();
        lyric->SetCaption(name);
        lyric->SubItems().Add(lrc);
    }
    // A third song has no lyric file.
    TListItem* third = Form1->kivListView2->Items().Add();
    third->SetCaption("c");
    third->SubItems().Add("c.mp3");
    third->SubItems().Add("00:01");
    // The first song is measured; the others have only their "mm:ss" text.
    Form1->MusicRowSeconds = {1.0};
    Form1->MusicSeconds = 7.0;
    Form1->SyncMode = "zhaopiansuiyinyue";
    ImportTemplate(FixtureTemplate());

    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "0"; }));
    EXPECT_EQ(Form1->LRC_text->Text(), "00:00");
    EXPECT_EQ(Lyric(), "A zero");
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "23"; }));
    EXPECT_EQ(Lyric(), "A zero");
    EXPECT_EQ(Form1->LrcSongIndex, 0);
    // Tick 24 has shown 25 frames: 00:01, the line changes and the 1-s song is over.
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "24"; }));
    EXPECT_EQ(Form1->LRC_text->Text(), "00:01");
    EXPECT_EQ(Lyric(), "A one");
    EXPECT_EQ(Form1->LrcSongIndex, 1);
    EXPECT_EQ(Form1->Edit3->Text(), "-1");
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "25"; }));
    EXPECT_EQ(Form1->LRC_text->Text(), "00:00");
    EXPECT_EQ(Lyric(), "B zero");
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "74"; }));
    EXPECT_EQ(Form1->LRC_text->Text(), "00:02");  // a prefix: 00:02.50 is found by 00:02
    EXPECT_EQ(Lyric(), "B two");
    // The second song's 125 frames are over at tick 149; the third shows no lyrics.
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "149"; }));
    EXPECT_EQ(Form1->LrcSongIndex, 2);
    EXPECT_EQ(Lyric(), "");
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "160"; }));
    EXPECT_EQ(Lyric(), "");
    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kIdle; }));
    EXPECT_EQ(Ticks(), 175);
    EXPECT_EQ(Form1->LrcSongIndex, 3);
    ExpectReady("after the music");
}

TEST_F(Preview, OpeningThenEffectThenEndingCountOnAndEndReady)
{
    AddPhotos(3);
    SetOpeningAndEnding();
    const int64_t start_us = App().Clock().NowUs();
    ImportTemplate(FixtureTemplate());
    ASSERT_EQ(Stage(), PreviewStage::kOpening);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox11);
    EXPECT_EQ(Form1->WindowsMediaPlayer3->playState(), wmppsPlaying);
    EXPECT_TRUE(Form1->Timer2->Enabled());
    EXPECT_TRUE(Form1->kivButton20->Enabled());
    EXPECT_TRUE(Locked());

    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kEffect; }, 3000));
    const int64_t opening_ms = (App().Clock().NowUs() - start_us) / 1000;
    EXPECT_GE(opening_ms, 990);
    EXPECT_LE(opening_ms, 1100);
    EXPECT_FALSE(Form1->Timer2->Enabled());
    // Until frame 3 the opening pane hides the movie's jump back.
    EXPECT_EQ(FrontPane(), Form1->ScrollBox11);
    ASSERT_TRUE(RunUntil([] { return Form1->Edit2->Text() == "0"; }));
    EXPECT_EQ(Elapsed(), TimeOf(25 + 0 + 1));
    EXPECT_EQ(Elapsed(), "00:00:01");
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "3"; }));
    EXPECT_EQ(FrontPane(), Form1->ScrollBox10);
    EXPECT_FALSE(Form1->ScrollBox11->Visible());

    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kEnding; }));
    EXPECT_EQ(Ticks(), 19);
    EXPECT_TRUE(fs::exists(work_ / "pwwjj" / "pwtp.jpg"));
    EXPECT_FALSE(fs::exists(work_ / "pwwjj" / "pwtp.bmp"));
    EXPECT_EQ(Form1->EndingMovie, 2);
    EXPECT_EQ(Form1->Pian_Wei_FLASH->Movie(), (work_ / "pwwjj" / "pwwj2.swf").string());
    EXPECT_TRUE(Form1->ScrollBox12->Visible());
    EXPECT_TRUE(Locked());
    // The slots were emptied at the end of the effect.
    EXPECT_FALSE(fs::exists(work_ / "zhzp" / "tupian1.jpg"));

    TShockwaveFlash& ending = *Form1->Pian_Wei_FLASH;
    ASSERT_TRUE(RunUntil([&] { return ending.FrameNum() == 5; }));
    app_.RunForMs(2);  // the watch has looked at frame 5
    EXPECT_EQ(FrontPane(), Form1->ScrollBox12);
    // The elapsed time goes on from the effect's: opening, 20 ticks, 5 frames.
    EXPECT_EQ(Elapsed(), TimeOf(25 + 19 + 1 + 5));
    EXPECT_EQ(Elapsed(), "00:00:02");

    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kIdle; }));
    ExpectReady("after the ending");
    EXPECT_EQ(Form1->PhotoCursor, 0);
    EXPECT_EQ(Slot(1), Photo(1));
    EXPECT_EQ(Slot(2), Photo(2));
}

TEST_F(Preview, TheEndingsPictureIsTheAlbumsLastFrameWithItsPhotosAndLyricLine)
{
    AddPhotos(3);
    SetEnding();
    ImportTemplate(FixtureTemplate());
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "17"; }));
    Form1->xiao_guo_Flash->SetVariable("LRC_geci", "WWWWWW");
    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kEnding; }));
    // As production leaves it: the last pass's photos 3 (blue) and 1 (red),
    // and the lyric line still on show.
    const TBitmap last = gfx::LoadImage(work_ / "pwwjj" / "pwtp.jpg");
    const TColor left = last.Pixel(90, 130), right = last.Pixel(262, 130);
    EXPECT_GT(gfx::GetBValue(left), 200);
    EXPECT_LT(gfx::GetRValue(left), 60);
    EXPECT_GT(gfx::GetRValue(right), 200);
    EXPECT_LT(gfx::GetBValue(right), 60);
    int lyric_pixels = 0;
    for (int y = 240; y < 272; ++y)
        for (int x = 0; x < last.Width(); ++x) {
            const TColor c = last.Pixel(x, y);
            if (gfx::GetGValue(c) > 190 && gfx::GetBValue(c) > 170)
                ++lyric_pixels;  // lighter than the backdrop
        }
    EXPECT_GT(lyric_pixels, 40);
}

TEST_F(Preview, StopInEachStageGivesTheReadyState)
{
    AddPhotos(3);
    SetOpeningAndEnding();
    ImportTemplate(FixtureTemplate());
    ASSERT_EQ(Stage(), PreviewStage::kOpening);
    app_.RunForMs(300);
    Form1->kivButton3->Click();
    ExpectReady("stopped in the opening");

    for (const auto& [stage, name] : {std::pair{PreviewStage::kEffect, "stopped in the effect"},
                                      std::pair{PreviewStage::kEnding, "stopped in the ending"}}) {
        Form1->kivButton1->Click();
        ASSERT_TRUE(RunUntil([&, stage = stage] { return Stage() == stage; }, 3000)) << name;
        app_.RunForMs(150);
        Form1->kivButton3->Click();
        ExpectReady(name);
        app_.RunForMs(500);  // nothing starts again by itself
        ExpectReady(name);
    }

    // Stopped on the first frame seen, a new run still counts that frame.
    Form1->OpeningFile.clear();
    Form1->kivButton1->Click();
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "0"; }));
    Form1->kivButton3->Click();
    Form1->kivButton1->Click();
    app_.RunForMs(2);
    EXPECT_EQ(Form1->Edit1->Text(), "0");
    EXPECT_EQ(Ticks(), 0);
}

TEST_F(Preview, AMissedPollStillSwitchesPanesPreCopiesAndEnds)
{
    AddPhotos(3);
    SetEnding();
    ImportTemplate(FixtureTemplate());
    TShockwaveFlash& movie = *Form1->xiao_guo_Flash;

    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "1"; }));
    MissPolls(movie, *Form1->Timer3, 3);
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "4"; }));
    EXPECT_EQ(FrontPane(), Form1->ScrollBox10);
    EXPECT_FALSE(Form1->ScrollBox14->Visible());

    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "13"; }));
    EXPECT_EQ(Slot(1), Photo(3));
    MissPolls(movie, *Form1->Timer3, 3);
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "16"; }));
    EXPECT_EQ(Slot(1), Photo(2));
    EXPECT_EQ(Slot(2), Photo(3));

    // Fewer ticks than frames: the end comes a few frames into the next pass.
    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kEnding; }));
    EXPECT_EQ(Ticks(), 19);

    // The ending's last frame goes by unseen: the wrap ends it all the same.
    TShockwaveFlash& ending = *Form1->Pian_Wei_FLASH;
    ASSERT_TRUE(RunUntil([&] { return ending.FrameNum() == 7; }));
    MissPolls(ending, *Form1->Timer6, 4);
    ASSERT_TRUE(RunUntil([&] { return Stage() == PreviewStage::kIdle; }, 100));
    ExpectReady("after the ending");
}

TEST_F(Preview, PlayWithoutTemplateShowsTheIntroAndWithoutPhotosTheTemplateVideo)
{
    Form1->LockMainControls();
    Form1->kivButton3->Click();
    EXPECT_TRUE(Unlocked());
    Form1->kivButton1->Click();
    EXPECT_EQ(Stage(), PreviewStage::kIdle);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox13);
    EXPECT_TRUE(Unlocked());

    ImportTemplate(FixtureTemplate());
    ASSERT_EQ(FrontPane(), Form1->ScrollBox9);
    Form1->kivButton1->Click();
    EXPECT_EQ(Stage(), PreviewStage::kIdle);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox9);
    EXPECT_TRUE(Unlocked());
    Form1->kivButton3->Click();
    EXPECT_EQ(FrontPane(), Form1->ScrollBox9);
    EXPECT_FALSE(Form1->xiao_guo_Flash->Playing());
    EXPECT_NE(Form1->WindowsMediaPlayer1->playState(), wmppsPlaying);
}

}  // namespace
}  // namespace preview_test
