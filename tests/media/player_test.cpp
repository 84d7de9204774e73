// The media player control under the loop's virtual clock (and once under
// the real clock): measuring, position texts, the end event, video panes
// and unreadable files.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/media/media_player.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "tests/media/media_files.h"

using namespace media_test;

namespace {

class Player : public testing::Test {
protected:
    core::TestApplication test_app;
    TWindowsMediaPlayer player;
    std::vector<int> states;
    const std::thread::id ui_thread = std::this_thread::get_id();

    Player()
    {
        player.OnPlayStateChange = [this](TObject* sender, int state) {
            EXPECT_EQ(sender, &player);
            EXPECT_EQ(std::this_thread::get_id(), ui_thread) << "events run on the UI thread";
            states.push_back(state);
        };
        player.OnPictureChange = [this](TObject*) { EXPECT_EQ(std::this_thread::get_id(), ui_thread); };
    }

    int Count(int state) const { return static_cast<int>(std::count(states.begin(), states.end(), state)); }

    // The callers' measuring wait, bounded.
    bool WaitForLength(int64_t timeout_ms = 10000)
    {
        return test_app.App().PumpUntil(
            [this] { return player.currentMedia().duration() != 0 || player.HasError(); }, timeout_ms);
    }
};

TEST_F(Player, MeasuringIdiomGivesTheLengthAndLeavesThePlayerStopped)
{
    struct Case {
        std::filesystem::path file;
        const char* text;
    };
    for (const Case& c :
         {Case{WavTone3s(), "00:03"}, Case{CbrMp3Tone3s(), "00:03"}, Case{VbrMp3NoiseFirst(), "00:03"},
          Case{TemplateAvi(), "00:02"}, Case{OpeningMpg(), "00:02"}}) {
        SCOPED_TRACE(c.file);
        states.clear();
        player.SetURL(c.file.string());
        player.settings().SetMute(true);
        EXPECT_EQ(player.currentMedia().duration(), 0) << "known only once the loop has run";
        ASSERT_TRUE(WaitForLength());
        EXPECT_FALSE(player.HasError()) << player.ErrorText();
        EXPECT_EQ(player.currentMedia().durationString(), c.text);
        player.controls().stop();
        player.settings().SetMute(false);
        EXPECT_EQ(player.playState(), wmppsStopped);
        EXPECT_EQ(player.controls().currentPositionString(), "00:00");
        test_app.RunForMs(4000);
        EXPECT_EQ(Count(wmppsMediaEnded), 0);
    }
}

TEST_F(Player, PositionRunsWithTheClockPausesAndEndsOnceAtTheLength)
{
    player.SetURL(WavTone3s().string());
    ASSERT_TRUE(WaitForLength());
    EXPECT_EQ(player.playState(), wmppsPlaying);
    EXPECT_DOUBLE_EQ(player.currentMedia().duration(), 3.0);
    EXPECT_EQ(player.controls().currentPositionString(), "00:00");

    test_app.RunForMs(1500);
    EXPECT_NEAR(player.controls().currentPosition(), 1.5, 0.02);
    EXPECT_EQ(player.controls().currentPositionString(), "00:01");

    player.controls().pause();
    EXPECT_EQ(player.playState(), wmppsPaused);
    const double paused_at = player.controls().currentPosition();
    test_app.RunForMs(2000);
    EXPECT_EQ(player.controls().currentPosition(), paused_at);

    player.controls().play();
    test_app.RunForMs(1000);
    EXPECT_EQ(player.controls().currentPositionString(), "00:02");
    EXPECT_EQ(Count(wmppsMediaEnded), 0);

    test_app.RunForMs(1000);
    EXPECT_EQ(player.playState(), wmppsMediaEnded);
    EXPECT_EQ(Count(wmppsMediaEnded), 1);
    EXPECT_EQ(player.controls().currentPosition(), player.currentMedia().duration());
    EXPECT_EQ(player.controls().currentPositionString(), player.currentMedia().durationString());

    // The end holds until the next control call: no second event.
    test_app.RunForMs(3000);
    EXPECT_EQ(Count(wmppsMediaEnded), 1);
    EXPECT_EQ(player.controls().currentPositionString(), "00:03");

    // Play after the end starts again from the beginning.
    player.controls().play();
    EXPECT_EQ(player.controls().currentPositionString(), "00:00");
    test_app.RunForMs(3100);
    EXPECT_EQ(Count(wmppsMediaEnded), 2);
}

TEST_F(Player, StopNeverRaisesTheEndAndRewinds)
{
    player.SetURL(WavTone3s().string());
    ASSERT_TRUE(WaitForLength());
    test_app.RunForMs(2500);
    player.controls().stop();
    EXPECT_EQ(player.playState(), wmppsStopped);
    EXPECT_EQ(player.controls().currentPosition(), 0);
    test_app.RunForMs(5000);
    EXPECT_EQ(Count(wmppsMediaEnded), 0);
    EXPECT_EQ(player.controls().currentPositionString(), "00:00");

    // Stopped at 0, play runs the whole length again.
    player.controls().play();
    test_app.RunForMs(2900);
    EXPECT_EQ(Count(wmppsMediaEnded), 0);
    test_app.RunForMs(200);
    EXPECT_EQ(Count(wmppsMediaEnded), 1);
}

TEST_F(Player, StopOrPauseBeforeTheFileIsOpenKeepsItFromPlaying)
{
    player.SetURL(WavTone3s().string());
    player.controls().stop();
    ASSERT_TRUE(WaitForLength());
    EXPECT_EQ(player.playState(), wmppsStopped);
    test_app.RunForMs(4000);
    EXPECT_EQ(Count(wmppsPlaying), 0);
    EXPECT_EQ(Count(wmppsMediaEnded), 0);

    player.SetURL(WavTone3s().string());
    player.controls().pause();
    ASSERT_TRUE(WaitForLength());
    EXPECT_EQ(player.playState(), wmppsPaused);
    player.controls().play();
    test_app.RunForMs(3100);
    EXPECT_EQ(Count(wmppsMediaEnded), 1);
}

// The music list moves to the next track from inside the end event.
TEST_F(Player, TheEndEventMayLoadTheNextFile)
{
    const std::string first = WavTone(1.0).string(), second = WavTone3s().string();
    player.OnPlayStateChange = [&](TObject*, int state) {
        states.push_back(state);
        if (state == wmppsMediaEnded && player.URL() == first) player.SetURL(second);
    };
    player.SetURL(first);
    ASSERT_TRUE(WaitForLength());
    test_app.RunForMs(1100);
    EXPECT_EQ(player.URL(), second);
    ASSERT_TRUE(WaitForLength());
    EXPECT_EQ(player.currentMedia().durationString(), "00:03");
    EXPECT_EQ(player.playState(), wmppsPlaying);
    test_app.RunForMs(3100);
    EXPECT_EQ(Count(wmppsMediaEnded), 2);
}

TEST_F(Player, VideoPanesShowMovingPicturesUntilTheEnd)
{
    for (const std::filesystem::path& file : {TemplateAvi(), OpeningMpg()}) {
        SCOPED_TRACE(file);
        states.clear();
        player.SetBounds(0, 0, 88, 72);
        player.SetURL(file.string());
        ASSERT_TRUE(WaitForLength());
        ASSERT_FALSE(player.HasError()) << player.ErrorText();
        EXPECT_TRUE(player.HasVideo());
        int changes = 0;
        player.OnPictureChange = [&](TObject*) { ++changes; };
        const TBitmap at_start = player.Picture();
        EXPECT_EQ(at_start.Width(), 88);
        EXPECT_EQ(at_start.Height(), 72);
        test_app.RunForMs(500);
        const TBitmap at_half = player.Picture();
        EXPECT_GE(changes, 10);  // a picture every 40 ms
        ASSERT_EQ(at_half.Width(), 88);
        EXPECT_FALSE(std::equal(at_start.Pixels(), at_start.Pixels() + 88 * 72, at_half.Pixels()));
        for (int i = 0; i < 88 * 72; ++i) ASSERT_EQ(at_half.Pixels()[i] >> 24, 0u);

        // The opening watch: the position text reaches the length text.
        ASSERT_TRUE(test_app.App().PumpUntil(
            [this] {
                return player.controls().currentPositionString() == player.currentMedia().durationString();
            },
            5000));
        test_app.RunForMs(200);
        EXPECT_EQ(Count(wmppsMediaEnded), 1);
        player.OnPictureChange = nullptr;  // `changes` goes out of scope
    }

    // Stopped, the pane goes black; the pane may change size.
    player.controls().stop();
    player.SetBounds(0, 0, 40, 30);
    const TBitmap stopped = player.Picture();
    EXPECT_EQ(stopped.Width(), 40);
    EXPECT_EQ(stopped.Pixel(20, 15), clBlack);
}

// On a form, the pane repaints itself with each new picture, and PaintTo
// captures it like any control.
TEST_F(Player, OnAFormThePaneShowsTheCurrentPicture)
{
    ui::Headless();
    auto* form = new TForm(&test_app.App());
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 150);
    auto* pane = new TWindowsMediaPlayer(form);
    pane->SetParent(form);
    pane->SetBounds(10, 20, 64, 48);
    form->Show();
    pane->SetURL(RedAvi().string());
    ASSERT_TRUE(test_app.App().PumpUntil([&] { return pane->currentMedia().duration() != 0; }, 5000));
    test_app.RunForMs(100);
    const TBitmap& window = ui::Headless().StateOf(*form)->picture;
    EXPECT_GT(window.Pixel(10 + 32, 20 + 24) & 0xFF, 200u) << "red in the pane";
    EXPECT_LT((window.Pixel(10 + 32, 20 + 24) >> 8) & 0xFF, 40u);
    TBitmap captured(64, 48, clBlue);
    pane->PaintTo(captured, 0, 0);
    EXPECT_EQ(captured.Pixel(32, 24), pane->Picture().Pixel(32, 24));
    EXPECT_NE(captured.Pixel(32, 24), clBlue);
}

TEST_F(Player, VideoWithoutAPaneSizeUsesItsOwnSize)
{
    player.SetURL(RedAvi().string());
    ASSERT_TRUE(WaitForLength());
    const TBitmap& picture = player.Picture();
    EXPECT_EQ(picture.Width(), 64);
    EXPECT_EQ(picture.Height(), 48);
    EXPECT_GT(picture.Pixel(32, 24) & 0xFF, 200u);
    test_app.RunForMs(1100);
    EXPECT_EQ(Count(wmppsMediaEnded), 1);
}

TEST_F(Player, UnreadableFilesGiveNoLengthAndAnError)
{
    for (const std::filesystem::path& file :
         {Garbage("garbage.mp3"), TextFile("text.wav"), EmptyFile("empty.mp3"), TempDir() / "missing.mp3"}) {
        SCOPED_TRACE(file);
        player.SetURL(file.string());
        ASSERT_TRUE(WaitForLength(5000)) << "the bounded wait must end";
        EXPECT_TRUE(player.HasError());
        EXPECT_FALSE(player.ErrorText().empty());
        EXPECT_EQ(player.currentMedia().duration(), 0);
        EXPECT_EQ(player.currentMedia().durationString(), "00:00");
        player.controls().play();
        test_app.RunForMs(500);
        EXPECT_NE(player.playState(), wmppsPlaying);
        player.controls().stop();
        EXPECT_EQ(Count(wmppsMediaEnded), 0);
    }
    // A good file afterwards clears the error.
    player.SetURL(WavTone3s().string());
    ASSERT_TRUE(WaitForLength());
    EXPECT_FALSE(player.HasError());
}

// A damaged stretch is left out and the file plays on, as other players
// play it; a cut file ends where it is cut. The real clock: under the
// virtual one a sound file is decoded only as far as the device has taken.
TEST_F(Player, DamagedStretchesAreLeftOutAndTheFileEndsWithoutAnError)
{
    test_app.App().SetClock(nullptr);
    for (const std::filesystem::path& file :
         {Mp3WithGarbageInside(), Mp3WithJunkAfterItsEnd(), FlacCutShort()}) {
        SCOPED_TRACE(file);
        states.clear();
        player.SetURL(file.string());
        player.settings().SetMute(true);
        ASSERT_TRUE(WaitForLength());
        EXPECT_NEAR(player.currentMedia().duration(), 3.0, 0.1) << "its header gives the length";
        ASSERT_TRUE(test_app.App().PumpUntil(
            [this] { return player.HasError() || player.playState() != wmppsPlaying; }, 10000));
        EXPECT_FALSE(player.HasError()) << player.ErrorText();
        EXPECT_EQ(Count(wmppsMediaEnded), 1);
    }
}

TEST_F(Player, ClosingAnOpenFileOrTheControlLetsGoOfIt)
{
    player.SetURL(TemplateAvi().string());
    ASSERT_TRUE(WaitForLength());
    player.SetURL("");
    EXPECT_EQ(player.currentMedia().duration(), 0);
    EXPECT_EQ(player.playState(), wmppsUndefined);
    test_app.RunForMs(3000);
    EXPECT_EQ(Count(wmppsMediaEnded), 0);

    auto owned = std::make_unique<TWindowsMediaPlayer>();
    owned->SetURL(TemplateAvi().string());
    owned.reset();  // its pending result must not reach a freed control
    test_app.RunForMs(100);
}

// The real clock: opening on a worker thread, the audio device's clock.
TEST_F(Player, PlaysToTheEndOnTheRealClockAndAudioDevice)
{
    test_app.App().SetClock(nullptr);
    player.SetURL(WavTone(0.5).string());
    player.settings().SetMute(true);
    ASSERT_TRUE(WaitForLength());
    EXPECT_NEAR(player.currentMedia().duration(), 0.5, 1e-6);
    ASSERT_TRUE(test_app.App().PumpUntil([this] { return Count(wmppsMediaEnded) > 0; }, 10000));
    EXPECT_EQ(player.controls().currentPositionString(), player.currentMedia().durationString());
    test_app.App().PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Count(wmppsMediaEnded), 1);

    // A garbage file ends the wait, and closing while opening returns.
    player.SetURL(Garbage("garbage.mp3").string());
    ASSERT_TRUE(WaitForLength(5000));
    EXPECT_TRUE(player.HasError());
    player.SetURL(VbrMp3NoiseLast().string());
    player.SetURL(TemplateAvi().string());
    ASSERT_TRUE(WaitForLength());
    EXPECT_EQ(player.currentMedia().durationString(), "00:02");
    test_app.App().SetClock(&test_app.Clock());
}

}  // namespace
