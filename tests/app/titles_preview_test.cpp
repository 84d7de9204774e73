// An opening and an ending chosen through the titles dialog play in the
// main window's preview around the effect movie.
#include <map>
#include <memory>

#include "app/titles_form.h"
#include "app/preview_engine.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/scrollbox.h"
#include "preview_window_test.h"
#include "skin/kiv_button.h"

namespace preview_test {
namespace {

using app::PreviewStage;

TEST_F(PreviewWindow, TitlesChosenInTheDialogPlayAroundTheEffect)
{
    const fs::path opening = work_ / "opening.wav";
    WriteSilence(opening, 1.0);
    const fs::path ending = fs::path(VELMORA_DATA_OUT) / "fixtures" / "ending25.mpg";
    const std::map<const TOpenDialog*, std::string> answers = {{Form11->OpenDialog1, opening.string()},
                                                               {Form11->OpenDialog2, ending.string()}};
    ui::SetFileDialogHook([&answers](const TOpenDialog& dialog) -> std::optional<std::vector<std::string>> {
        const auto answer = answers.find(&dialog);
        if (answer == answers.end()) return std::nullopt;
        return std::vector<std::string>{answer->second};
    });
    // Inside the dialog: the opening, the ending, "退出".
    TTimer in_dialog;
    in_dialog.SetInterval(1);
    in_dialog.OnTimer = [&in_dialog](TObject*) {
        if (Screen().ModalForm() != Form11) return;
        in_dialog.SetEnabled(false);
        Form11->kivButton1->Click();
        Form11->kivButton7->Click();
        Form11->kivButton6->Click();
    };
    in_dialog.SetEnabled(true);
    Form1->kivButton19->Click();
    ui::SetFileDialogHook(nullptr);
    ASSERT_FALSE(Form11->Visible());
    ASSERT_TRUE(messages_.empty()) << messages_.front();
    ASSERT_EQ(Form1->OpeningFile, opening.string());
    ASSERT_EQ(Form1->OpeningFrames, 25);
    ASSERT_EQ(Form1->EndingFile, ending.string());

    // The template import with photos starts the preview: the opening first.
    AddPhotos(3);
    ImportTemplate(FixtureTemplate());
    app::PreviewEngine& preview = Form1->Preview();
    ASSERT_EQ(preview.Stage(), PreviewStage::kOpening);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox11);
    EXPECT_EQ(Form1->WindowsMediaPlayer3->playState(), wmppsPlaying);
    EXPECT_EQ(Form1->WindowsMediaPlayer3->URL(), opening.string());

    ASSERT_TRUE(RunUntil([&] { return preview.Stage() == PreviewStage::kEffect; }));
    ASSERT_TRUE(RunUntil([&] { return preview.Stage() == PreviewStage::kEnding; }));
    // The ending movie is the imported one, beside the album's last picture.
    TShockwaveFlash& pane = *Form1->Pian_Wei_FLASH;
    EXPECT_EQ(fs::path(pane.Movie()).parent_path(), work_ / "pwwjj");
    EXPECT_EQ(pane.TotalFrames(), 25);
    EXPECT_EQ(ReadBytes(pane.Movie()), ReadBytes(work_ / "pwwjj" / "pwwj1.swf"));
    EXPECT_TRUE(fs::exists(work_ / "pwwjj" / "pwtp.jpg"));
    ASSERT_TRUE(RunUntil([&] { return FrontPane() == Form1->ScrollBox12; }));
    ASSERT_TRUE(RunUntil([&] { return preview.Stage() == PreviewStage::kIdle; }));
    EXPECT_EQ(FrontPane(), Form1->ScrollBox10);
    EXPECT_TRUE(Unlocked());
    EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace preview_test
