// The titles dialog (Form11) and the ending text editor (Form12) on the
// headless back end: the opening title measured and previewed, the ending
// template checked and put in place, its preview buttons, the editor's
// round trip of the two texts, and what the dialog leaves for the preview.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <memory>

#include "app/castora_forms.h"
#include "app/ending_template.h"
#include "app/main_window.h"
#include "app/titles_form.h"
#include "app/ending_text_form.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/text.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/headless.h"
#include "platform/ui/label.h"
#include "skin/kiv_button.h"
#include "skin/kiv_memo.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "tests/app/file_writes_fail.h"
#include "tests/castora_work_folder.h"
#include "tests/program_fixture.h"

namespace {

namespace fs = std::filesystem;

void WriteSilence(const fs::path& path, double seconds)
{
    const uint32_t rate = 8000;
    const uint32_t data = static_cast<uint32_t>(seconds * rate + 0.5) * 2;
    std::string wav;
    const auto put = [&wav](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) wav += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    wav += "RIFF";
    put(36 + data, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(data, 4);
    wav.append(data, '\0');
    core::WriteFileBytes(path, wav);
}

std::string MovieBytes(uint32_t frames)
{
    flash::Movie movie;
    movie.frame_count = frames;
    const std::vector<uint8_t> bytes = flash::WriteMovie(movie);
    return {bytes.begin(), bytes.end()};
}

// An ending template: a fake video, the movie, the trailer.
std::string EndingFile(const std::string& movie, int play_frame, int still_frame)
{
    const std::string video = "fake ending video";
    return video + movie + app::WriteEndingTrailer(play_frame, still_frame, video.size()).value();
}

std::string Read(const fs::path& path) { return core::ReadFileBytes(path).value_or("<missing>"); }

class Titles : public ProgramFixture<> {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        AnswerFileDialogs();
        StartWithWorkFolder();
        Form11->Show();
    }
    // Every message box, as caption "|" text.
    void OnMessage(const TkivMessageDialog& dialog) override
    {
        EXPECT_EQ(dialog.Button1Caption(), "确定");
        messages_.push_back(dialog.Caption() + "|" + dialog.Text());
    }

    // Chooses `file` (nothing: cancels) in the dialog and clicks the button.
    void Choose(TOpenDialog* dialog, std::optional<fs::path> file, TkivButton* button)
    {
        answers_[dialog] = file ? std::vector<std::string>{file->string()} : std::vector<std::string>{};
        button->Click();
    }
    void ImportOpening(std::optional<fs::path> file)
    {
        Choose(Form11->OpenDialog1, file, Form11->kivButton1);
    }
    void ImportEnding(std::optional<fs::path> file) { Choose(Form11->OpenDialog2, file, Form11->kivButton7); }
    // An exit button, and the hide that the close posts.
    void Exit(TkivButton* button)
    {
        button->Click();
        App().ProcessMessages();
    }

    fs::path Fixture() const { return fs::path(VELMORA_DATA_OUT) / "fixtures" / "ending25.mpg"; }
    TShockwaveFlash& Preview() const { return *Form11->ShockwaveFlash1; }
    TShockwaveFlash& Placeholder() const { return *Form11->ShockwaveFlash2; }
    bool ShowsPlaceholder() const
    {
        return Placeholder().Visible() && !Preview().Visible() && !Preview().Playing();
    }

    std::vector<std::string> messages_;
};

TEST_F(Titles, TheMainWindowsButtonOpensTheDialogOnItsOpeningPage)
{
    Exit(Form11->kivButton6);
    Form11->kivPageControl1->SetActivePageIndex(1);
    bool seen = false;
    WhenModal(Form11, [&] {
        seen = true;
        EXPECT_EQ(Form11->Caption(), "片头片尾");
        EXPECT_EQ(Form11->Width(), 586);
        EXPECT_EQ(Form11->Height(), 427);
        EXPECT_EQ(Placeholder().Movie(), (work_ / "pwwjj" / "wu_pwwj.swf").string());
        EXPECT_GT(Placeholder().TotalFrames(), 0);
        EXPECT_TRUE(ShowsPlaceholder());
        Form11->kivButton6->Click();
    });
    Form11->kivPageControl1->SetActivePageIndex(0);
    Form1->kivButton19->Click();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(Form11->Visible());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Titles, AnOpeningIsMeasuredInWholeFramesPreviewedAndKeptThroughACancel)
{
    const fs::path opening = user_ / "片头 一.wav";
    WriteSilence(opening, 10.03);
    ImportOpening(opening);
    ASSERT_TRUE(messages_.empty()) << messages_.front();
    // 10.03 s / 0.04 = 250.75: truncated.
    EXPECT_EQ(Form1->OpeningFrames, 250);
    EXPECT_EQ(Form1->OpeningFile, opening.string());
    EXPECT_EQ(Form11->Label2->Caption(), "片头 一");
    EXPECT_EQ(Form11->Label5->Caption(), "00:00");
    // The preview plays; the main window's player holds the file, stopped
    // and with its sound, for the album preview.
    EXPECT_EQ(Form11->WindowsMediaPlayer1->playState(), wmppsPlaying);
    TWindowsMediaPlayer& main_player = *Form1->WindowsMediaPlayer3;
    EXPECT_EQ(main_player.URL(), opening.string());
    EXPECT_NE(main_player.playState(), wmppsPlaying);
    EXPECT_FALSE(main_player.settings().mute());
    for (TkivButton* b :
         {Form11->kivButton2, Form11->kivButton3, Form11->kivButton4, Form11->kivButton5, Form11->kivButton6})
        EXPECT_TRUE(b->Enabled()) << b->Name();

    // The watch follows the preview and stops on its length.
    ASSERT_TRUE(Form11->Timer1->Enabled());
    ASSERT_TRUE(App().PumpUntil([] { return !Form11->Timer1->Enabled(); }, 15000));
    EXPECT_EQ(Form11->Label4->Caption(), "00:10");
    EXPECT_EQ(Form11->Label5->Caption(), "00:10");
    EXPECT_EQ(Form1->Label3->Caption(), "00:00:10");

    // A cancelled second import keeps the first; closing measures it again
    // and leaves it in the main window's player.
    ImportOpening(std::nullopt);
    EXPECT_EQ(Form1->OpeningFile, opening.string());
    Form1->OpeningFrames = 0;
    main_player.SetURL("");
    Exit(Form11->kivButton6);
    EXPECT_FALSE(Form11->Visible());
    EXPECT_EQ(Form1->OpeningFrames, 250);
    EXPECT_EQ(main_player.URL(), opening.string());
    EXPECT_GT(main_player.currentMedia().duration(), 10.0);
    EXPECT_NE(main_player.playState(), wmppsPlaying);
    EXPECT_FALSE(main_player.settings().mute());
    EXPECT_NE(Form11->WindowsMediaPlayer1->playState(), wmppsPlaying);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Titles, OpeningButtonsWaitForAnOpeningAndClearingForgetsIt)
{
    // Without an opening title, play, pause and stop do nothing.
    Form11->Label5->SetCaption("x");
    for (TkivButton* b : {Form11->kivButton2, Form11->kivButton3, Form11->kivButton4}) b->Click();
    EXPECT_FALSE(Form11->Timer1->Enabled());
    EXPECT_EQ(Form11->Label5->Caption(), "x");
    EXPECT_NE(Form11->WindowsMediaPlayer1->playState(), wmppsPlaying);

    const fs::path opening = user_ / "op.wav";
    WriteSilence(opening, 3.0);
    ImportOpening(opening);
    Form11->kivButton3->Click();  // pause
    EXPECT_EQ(Form11->WindowsMediaPlayer1->playState(), wmppsPaused);
    EXPECT_FALSE(Form11->Timer1->Enabled());
    Form11->kivButton2->Click();  // play
    EXPECT_EQ(Form11->WindowsMediaPlayer1->playState(), wmppsPlaying);
    EXPECT_TRUE(Form11->Timer1->Enabled());
    Form11->kivButton4->Click();  // stop
    EXPECT_EQ(Form11->Label5->Caption(), "00:00");
    EXPECT_FALSE(Form11->Timer1->Enabled());
    // Going to the ending page pauses the opening preview.
    Form11->kivButton2->Click();
    Form11->kivPageControl1->SetActivePageIndex(1);
    Form11->kivPageControl1Click(nullptr);
    EXPECT_EQ(Form11->WindowsMediaPlayer1->playState(), wmppsPaused);

    Form1->Label3->SetCaption("00:00:03");
    Form11->kivButton5->Click();
    EXPECT_EQ(Form1->OpeningFile, "");
    EXPECT_EQ(Form1->OpeningFrames, 0);
    EXPECT_EQ(Form11->Label2->Caption(), "");
    EXPECT_EQ(Form11->Label4->Caption(), "00:00");
    EXPECT_EQ(Form11->Label5->Caption(), "00:00");
    EXPECT_EQ(Form1->Label3->Caption(), "00:00:00");
    EXPECT_FALSE(Form11->Timer1->Enabled());
}

TEST_F(Titles, AnOpeningWithoutALengthIsRefusedAndTheEarlierOneStays)
{
    const fs::path good = user_ / "good.wav";
    WriteSilence(good, 2.0);
    ImportOpening(good);
    ASSERT_EQ(Form1->OpeningFrames, 50);

    const fs::path bad = user_ / "bad.mpg";
    core::WriteFileBytes(bad, std::string(5000, 'x'));
    Form11->MeasureWaitMs = 3000;
    const int64_t start = App().Clock().NowUs();
    ImportOpening(bad);
    EXPECT_LE(App().Clock().NowUs() - start, 3'500'000);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], std::string("导入片头|") + app::kOpeningUnplayable);
    EXPECT_EQ(Form1->OpeningFile, good.string());
    EXPECT_EQ(Form1->OpeningFrames, 50);
    EXPECT_EQ(Form1->WindowsMediaPlayer3->URL(), good.string());
    EXPECT_EQ(Form11->WindowsMediaPlayer1->URL(), good.string());
    for (TkivButton* b : {Form11->kivButton1, Form11->kivButton2, Form11->kivButton5, Form11->kivButton6})
        EXPECT_TRUE(b->Enabled()) << b->Name();

    // An opening file gone by the time the dialog closes is dropped, said so.
    fs::remove(good);
    Exit(Form11->kivButton6);
    EXPECT_FALSE(Form11->Visible());
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1], std::string("片头片尾|") + app::kOpeningGone);
    EXPECT_EQ(Form1->OpeningFile, "");
    EXPECT_EQ(Form1->OpeningFrames, 0);
}

TEST_F(Titles, AValidEndingIsPutInPlaceWithItsTextsAndPreviewed)
{
    ImportEnding(Fixture());
    ASSERT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(Form1->EndingFile, Fixture().string());
    EXPECT_EQ(Form11->EndingValidation, "pianweiyanzhengxinxi");
    EXPECT_EQ(Form11->EndingPlayFrame, "2");
    EXPECT_EQ(Form11->EndingStillFrame, "13");
    // Both copies are the movie slice of the file.
    const app::EndingCheck check = app::ReadEndingTemplateFile(Fixture());
    ASSERT_TRUE(check.Valid());
    const std::string movie = app::ReadEndingMovie(Fixture(), *check.ending).value();
    EXPECT_EQ(Read(work_ / "pwwjj" / "pwwj1.swf"), movie);
    EXPECT_EQ(Read(work_ / "pwwjj" / "pwwj2.swf"), movie);
    EXPECT_FALSE(fs::exists(work_ / "pwwjj" / "lin_shi.ini"));
    EXPECT_TRUE(core::FindFiles(work_ / "pwwjj", "*.new").empty());
    EXPECT_EQ(Read(work_ / "pwwjj" / "txt_1.txt"), core::Utf8ToGbk("txt1=谢谢观看\r\n"));
    EXPECT_EQ(Read(work_ / "pwwjj" / "txt_2.txt"), core::Utf8ToGbk("txt2=谢谢观看\r\n"));
    // The preview loads the other copy and plays from t_p.
    EXPECT_EQ(Form11->TitleEndingMovie, 2);
    EXPECT_EQ(Preview().Movie(), (work_ / "pwwjj" / "pwwj2.swf").string());
    EXPECT_EQ(Preview().FrameNum(), 2);
    EXPECT_TRUE(Preview().Playing());
    EXPECT_TRUE(Preview().Visible());
    EXPECT_FALSE(Placeholder().Visible());
    EXPECT_EQ(Form1->Label6->Caption(), "00:00:01");

    // Pause stands, stop rests on z_s - 1, play goes on.
    ASSERT_TRUE(App().PumpUntil([&] { return Preview().FrameNum() >= 6; }, 1000));
    Form11->kivButton10->Click();
    const int stood = Preview().FrameNum();
    App().PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Preview().FrameNum(), stood);
    EXPECT_FALSE(Preview().Playing());
    Form11->kivButton11->Click();
    EXPECT_EQ(Preview().FrameNum(), 12);
    EXPECT_FALSE(Preview().Playing());
    Form11->kivButton9->Click();
    EXPECT_TRUE(Preview().Playing());

    // Reopened, the dialog rests on the still frame.
    Exit(Form11->kivButton12);
    Form11->Show();
    EXPECT_TRUE(Preview().Visible());
    EXPECT_FALSE(Placeholder().Visible());
    EXPECT_EQ(Preview().FrameNum(), 12);
    EXPECT_EQ(Form11->TitleEndingMovie, 1);

    // A second valid import replaces the first.
    const fs::path longer = user_ / "longer.mpg";
    core::WriteFileBytes(longer, EndingFile(MovieBytes(260), 0, 100));
    ImportEnding(longer);
    EXPECT_EQ(Form1->EndingFile, longer.string());
    EXPECT_EQ(Form1->Label6->Caption(), "00:00:10");
    EXPECT_EQ(Preview().TotalFrames(), 260);
    Form11->kivButton11->Click();
    EXPECT_EQ(Preview().FrameNum(), 99);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Titles, ClearingTheEndingShowsThePlaceholderAndItsButtonsWaitForAnEnding)
{
    for (TkivButton* b : {Form11->kivButton9, Form11->kivButton10, Form11->kivButton11}) {
        b->Click();
        EXPECT_TRUE(ShowsPlaceholder()) << b->Name();
    }
    Form11->kivButton13->Click();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "修改内容|没有导入片尾模板!");

    ImportEnding(Fixture());
    ASSERT_FALSE(Form1->EndingFile.empty());
    Form11->kivButton8->Click();
    EXPECT_EQ(Form1->EndingFile, "");
    EXPECT_EQ(Form11->EndingValidation, "");
    EXPECT_EQ(Form1->Label6->Caption(), "00:00:00");
    EXPECT_TRUE(ShowsPlaceholder());
    Form11->kivButton9->Click();
    EXPECT_TRUE(ShowsPlaceholder());
    // Closing leaves the main window's ending pane alone without an ending.
    Exit(Form11->kivButton12);
    EXPECT_EQ(Form1->EndingMovie, 1);
    EXPECT_EQ(Form1->Pian_Wei_FLASH->Movie(), "");
}

TEST_F(Titles, AnInvalidEndingChangesNothing)
{
    const std::string movie = MovieBytes(30);
    const std::string good = EndingFile(movie, 0, 10);
    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string bytes = good;
        bytes.replace(bytes.find(from), from.size(), to);
        return bytes;
    };
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"other validation", replaced("xx=pianweiyanzhengxinxi", "xx=pianweiyanzhengxinxX")},
        {"validation missing", replaced("[pwyzxx]", "[pwyzxy]")},
        {"play frame not a number", replaced("t_p=0", "t_p=x")},
        {"still frame not a number", replaced("z_s=10", "z_s=1O")},
        {"movie start past the end", replaced("q_s=17", "q_s=99")},
        {"shorter than its block", good.substr(good.size() - 999)},
        {"movie that does not load", EndingFile("not a movie at all", 0, 10)},
    };
    // First without an ending title, then with one in force.
    for (bool with_earlier : {false, true}) {
        if (with_earlier) ImportEnding(Fixture());
        const std::string copy1 = Read(work_ / "pwwjj" / "pwwj1.swf");
        const std::string text1 = Read(work_ / "pwwjj" / "txt_1.txt");
        const std::string ending_before = Form1->EndingFile;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (with_earlier ? " after a valid one" : ""));
            messages_.clear();
            const fs::path file = user_ / "bad.mpg";
            core::WriteFileBytes(file, c.bytes);
            ImportEnding(file);
            ASSERT_EQ(messages_.size(), 1u);
            EXPECT_EQ(messages_[0], std::string("导入片尾模板|") + app::kEndingInvalid);
            EXPECT_EQ(Form1->EndingFile, ending_before);
            EXPECT_EQ(Read(work_ / "pwwjj" / "pwwj1.swf"), copy1);
            EXPECT_EQ(Read(work_ / "pwwjj" / "txt_1.txt"), text1);
            EXPECT_TRUE(core::FindFiles(work_ / "pwwjj", "*.new").empty());
            EXPECT_EQ(Form11->ValidEndingLoaded(), with_earlier);
            if (with_earlier)
                EXPECT_TRUE(Preview().Visible() && !Placeholder().Visible());
            else
                EXPECT_TRUE(ShowsPlaceholder());
        }
    }
    // Cancelling changes nothing either.
    messages_.clear();
    ImportEnding(std::nullopt);
    EXPECT_EQ(Form1->EndingFile, Fixture().string());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Titles, AWorkFolderThatCannotBeWrittenIsSaidSoAndChangesNothing)
{
    const fs::path folder = work_ / "pwwjj";
    const char* names[] = {"pwwj1.swf", "pwwj2.swf", "txt_1.txt", "txt_2.txt"};
    const auto snapshot = [&] {
        std::map<std::string, std::string> files;
        for (const char* name : names)
            files[name] = fs::is_directory(folder / name) ? "<folder>" : Read(folder / name);
        return files;
    };
    const fs::path longer = user_ / "longer.mpg";
    core::WriteFileBytes(longer, EndingFile(MovieBytes(260), 0, 100));
    // A full disk, and a folder where one of the four files goes: the text
    // that went last and the movie copy that goes last now.
    struct Case {
        const char* what;
        const char* in_the_way;
    };
    const Case cases[] = {{"writes fail", nullptr},
                          {"txt_1.txt in the way", "txt_1.txt"},
                          {"pwwj2.swf in the way", "pwwj2.swf"}};
    // First without an ending title, then with one in force.
    for (bool with_earlier : {false, true}) {
        if (with_earlier) ImportEnding(Fixture());
        const std::string ending_before = Form1->EndingFile;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (with_earlier ? " after a valid one" : ""));
            messages_.clear();
            std::string kept;
            if (c.in_the_way) {
                kept = Read(folder / c.in_the_way);
                fs::remove(folder / c.in_the_way);
                fs::create_directories(folder / c.in_the_way / "x");
            }
            const auto before = snapshot();
            if (c.in_the_way) {
                ImportEnding(longer);
            } else {
                app_test::FileWritesFail full;
                ImportEnding(longer);
            }
            EXPECT_EQ(messages_,
                      (std::vector<std::string>{std::string("导入片尾模板|") + app::kEndingNotWritten}));
            EXPECT_EQ(snapshot(), before);
            EXPECT_EQ(Form1->EndingFile, ending_before);
            EXPECT_EQ(Form11->ValidEndingLoaded(), with_earlier);
            if (with_earlier)
                EXPECT_TRUE(Preview().Visible() && !Placeholder().Visible());
            else
                EXPECT_TRUE(ShowsPlaceholder());
            for (const char* pattern : {"*.new", "*.old", "*.part"})
                EXPECT_TRUE(core::FindFiles(folder, pattern).empty());
            if (c.in_the_way) {
                fs::remove_all(folder / c.in_the_way);
                if (kept != "<missing>") core::WriteFileBytes(folder / c.in_the_way, kept);
            }
        }
    }
    // Once the folder can be written, the same file imports.
    messages_.clear();
    ImportEnding(longer);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Form1->EndingFile, longer.string());
    EXPECT_EQ(Read(folder / "txt_1.txt"), core::Utf8ToGbk("txt1=谢谢观看\r\n"));
}

TEST_F(Titles, TheEditorShowsTheTextsAndWritesThemBackUnchangedOrEdited)
{
    ImportEnding(Fixture());
    const fs::path txt1 = work_ / "pwwjj" / "txt_1.txt", txt2 = work_ / "pwwjj" / "txt_2.txt";
    const std::string before2 = Read(txt2);

    // Closing without changes writes both files back as they were.
    WhenModal(Form12, [&] {
        EXPECT_EQ(Form12->Caption(), "修改内容");
        EXPECT_EQ(Form12->kivMemo1->Text(), "谢谢观看");
        EXPECT_EQ(Form12->kivMemo2->Text(), "谢谢观看");
        EXPECT_EQ(Preview().FrameNum(), 0);
        EXPECT_FALSE(Preview().Playing());
        Form12->Close();
    });
    Form11->kivButton13->Click();
    EXPECT_FALSE(Form12->Visible());
    EXPECT_EQ(Read(txt1), core::Utf8ToGbk("txt1=谢谢观看\r\n"));
    EXPECT_EQ(Read(txt2), before2);
    // The preview reloads, so that the movie reads the texts, and replays
    // from the still frame.
    EXPECT_EQ(Form11->TitleEndingMovie, 1);
    EXPECT_EQ(Preview().Movie(), (work_ / "pwwjj" / "pwwj1.swf").string());
    EXPECT_EQ(Preview().FrameNum(), 12);
    EXPECT_TRUE(Preview().Playing());

    // An edit of the first text over two lines; a second text gone from the
    // work folder opens empty and is written anew.
    fs::remove(txt2);
    WhenModal(Form12, [&] {
        EXPECT_EQ(Form12->kivMemo2->Text(), "");
        Form12->kivMemo1->SetText("第一行\r\n第二行");
        Form12->Close();
    });
    Form11->kivButton13->Click();
    EXPECT_EQ(Read(txt1), core::Utf8ToGbk("txt1=第一行\r\n第二行\r\n"));
    EXPECT_EQ(Read(txt2), "txt2=\r\n");
    EXPECT_EQ(app::ReadEndingText(work_, 1), "第一行\r\n第二行\r\n");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Titles, ClosingReloadsTheMainWindowsEndingMovie)
{
    ImportEnding(Fixture());
    Exit(Form11->kivButton12);
    EXPECT_FALSE(Form11->Visible());
    EXPECT_EQ(Form1->EndingMovie, 2);
    EXPECT_EQ(Form1->Pian_Wei_FLASH->Movie(), (work_ / "pwwjj" / "pwwj2.swf").string());
    EXPECT_EQ(Form1->Pian_Wei_FLASH->TotalFrames(), 25);
    EXPECT_FALSE(Preview().Playing());
    EXPECT_FALSE(Placeholder().Playing());
}

// The two dialogs built alone, without the main window: the imports open
// nothing, the other buttons and the closes go on without it.
class TitlesAlone : public ProgramFixture<> {
protected:
    void OnMessage(const TkivMessageDialog& dialog) override
    {
        messages_.push_back(dialog.Caption() + "|" + dialog.Text());
    }
    std::vector<std::string> messages_;
};

TEST_F(TitlesAlone, WithoutTheMainWindowNothingIsImportedOrWritten)
{
    AnswerFileDialogs();
    unexpected_dialogs_fail_ = true;
    ASSERT_EQ(Form1, nullptr);
    auto* titles = new TForm11(&App());
    auto* editor = new TForm12(&App());
    titles->Show();
    for (TkivButton* b : {titles->kivButton1, titles->kivButton2, titles->kivButton3, titles->kivButton4,
                          titles->kivButton5, titles->kivButton7, titles->kivButton8, titles->kivButton9,
                          titles->kivButton10, titles->kivButton11, titles->kivButton13})
        b->Click();
    EXPECT_EQ(messages_, std::vector<std::string>{"修改内容|没有导入片尾模板!"});
    EXPECT_FALSE(titles->ValidEndingLoaded());
    EXPECT_EQ(titles->WindowsMediaPlayer1->URL(), "");
    titles->kivButton6->Click();
    App().ProcessMessages();
    EXPECT_FALSE(titles->Visible());

    editor->Show();
    editor->kivMemo1->SetText("text");
    editor->Close();
    App().ProcessMessages();
    EXPECT_FALSE(editor->Visible());
    EXPECT_EQ(messages_.size(), 1u);
}

// Both pages as the user sees them, saved for review; the movies paint
// pictures in their panes.
TEST_F(Titles, ScreenshotsOfBothPages)
{
    const auto colours = [](TControl& control) {
        TBitmap alone;
        alone.SetSize(control.Width(), control.Height());
        control.PaintTo(alone, 0, 0);
        std::set<TColor> seen;
        for (int y = 0; y < control.Height(); y += 2)
            for (int x = 0; x < control.Width(); x += 2) seen.insert(alone.Pixel(x, y));
        return seen.size();
    };
    Form11->kivPageControl1->SetActivePageIndex(1);
    App().ProcessMessages();
    EXPECT_GT(colours(Placeholder()), 3u);
    ui::headless::SavePng(*Form11, fs::path(VELMORA_TEST_OUT) / "castora_titles_placeholder.png");
    ImportEnding(Fixture());
    Form11->kivButton11->Click();
    App().ProcessMessages();
    EXPECT_GT(colours(Preview()), 1u);
    ui::headless::SavePng(*Form11, fs::path(VELMORA_TEST_OUT) / "castora_titles_ending.png");
    Form11->kivPageControl1->SetActivePageIndex(0);
    App().ProcessMessages();
    ui::headless::SavePng(*Form11, fs::path(VELMORA_TEST_OUT) / "castora_titles_opening.png");
    EXPECT_TRUE(fs::exists(fs::path(VELMORA_TEST_OUT) / "castora_titles_opening.png"));
}

}  // namespace
