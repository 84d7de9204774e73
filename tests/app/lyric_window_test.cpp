// The lyric dialog with its karaoke preview, and the lyric style dialog, on
// the headless back end with a virtual clock, a temporary system folder,
// songs and LRC files written by the test.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "app/lyrics_form.h"
#include "app/lyric_style_form.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/backend.h"
#include "platform/ui/file_filter.h"
#include "platform/ui/headless.h"
#include "skin/kiv_button.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_combo_box.h"
#include "skin/kiv_list_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_radio_button.h"
#include "skin/kiv_tab_sheet.h"
#include "skin/kiv_track_bar.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/music_files.h"

namespace {

namespace fs = std::filesystem;
using production::LyricAlign;

std::vector<std::string> Captions(const TListView& view)
{
    std::vector<std::string> captions;
    for (int i = 0; i < view.Items().Count(); ++i) captions.push_back(view.Items()[i]->Caption());
    return captions;
}

class LyricWindow : public app_test::StartedMainWindow {
protected:
    void SetUp() override
    {
        StartedMainWindow::SetUp();
        files_ = system_.Path() / "files";
        fs::create_directories(files_);
    }

    // A music row for a song of `seconds` (none: a row whose file is not there).
    fs::path AddSong(const std::string& name, double seconds = 0)
    {
        const fs::path file = files_ / (name + ".wav");
        if (seconds > 0) app_test::WriteWavTone(file, seconds);
        TListItem* row = Form1->kivListView2->Items().Add();
        row->SetCaption(name);
        row->SubItems().Add(file.string());
        row->SubItems().Add("00:00");
        return file;
    }
    fs::path Lrc(const std::string& name, const std::string& text)
    {
        const fs::path file = files_ / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    void AddLyricRow(const fs::path& file)
    {
        TListItem* row = Form1->kivListView5->Items().Add();
        row->SetCaption(file.stem().string());
        row->SubItems().Add(file.string());
    }

    // Opens the lyric dialog with "导入歌词", does `steps` in it and
    // returns once it has closed ("返回" when the steps left it open).
    void InDialog(const std::function<void()>& steps)
    {
        bool ran = false;
        App().PostMessage([&] {
            steps();
            ran = true;
            if (Form15->Visible() && Form15->ModalResult() == mrNone) Form15->kivButton3->Click();
        });
        Form1->kivButton31->Click();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(Form15->Visible());
    }
    // "调整歌词" in the open lyric dialog; closed by its title bar after `steps`.
    void InStyleDialog(const std::function<void()>& steps)
    {
        bool ran = false;
        App().PostMessage([&] {
            steps();
            ran = true;
            Form16->Close();
        });
        Form15->kivButton4->Click();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(Form16->Visible());
    }
    // "导入歌词" of the dialog with the files chosen (none: cancelled).
    void Import(const std::vector<fs::path>& files)
    {
        ChooseFiles(files);
        Form15->kivButton1->Click();
    }

    std::string Line() const { return Form15->ShockwaveFlash1->GetVariable("LRC_geci"); }
    TWindowsMediaPlayer& Player() const { return *Form1->WindowsMediaPlayer2; }
    // Runs until the song stands at `seconds` or later.
    bool PlayTo(double seconds)
    {
        return app_.App().PumpUntil(
            [&] {
                return Player().playState() == wmppsPlaying &&
                       Player().controls().currentPosition() >= seconds;
            },
            10000);
    }
    std::vector<bool> PlayLockStates() const
    {
        std::vector<bool> enabled;
        for (TControl* control : std::initializer_list<TControl*>{
                 Form15->kivButton1, Form15->kivButton2, Form15->kivButton3, Form15->kivButton4,
                 Form15->kivButton5, Form15->kivComboBox1, Form15->kivComboBox2})
            enabled.push_back(control->Enabled());
        return enabled;
    }
    void ExpectIdle()
    {
        EXPECT_EQ(Line(), "这里显示歌词内容");
        EXPECT_EQ(PlayLockStates(), std::vector<bool>(7, true));
        EXPECT_FALSE(Form15->Timer1->Enabled());
        EXPECT_EQ(Form15->PlayingSong(), -1);
        EXPECT_NE(Player().playState(), wmppsPlaying);
    }

    fs::path files_;
};

TEST_F(LyricWindow, WithoutMusicTheDialogIsRefused)
{
    Form1->kivButton31->Click();
    EXPECT_FALSE(Form15->Visible());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, "导入歌词");
    EXPECT_EQ(messages_[0].text, "导入歌词前,先导入音乐.");
    EXPECT_EQ(messages_[0].button, "确定");
}

TEST_F(LyricWindow, OpeningFillsTheListsAnewAndShowsThePlaceholder)
{
    AddSong("a");
    AddSong("b");
    for (const char* name : {"la.lrc", "lb.lrc", "lc.lrc"}) AddLyricRow(Lrc(name, "[00:01.00]x"));
    Form1->LrcStyle.colour = 0xFF0000;
    InDialog([&] {
        EXPECT_EQ(Form15->Width(), 562);
        EXPECT_EQ(Form15->Height(), 450);
        EXPECT_EQ(Form15->kivComboBox1->Items().Items(), (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(Form15->kivComboBox1->ItemIndex(), 0);
        EXPECT_EQ(Form15->kivComboBox2->Items().Items(), (std::vector<std::string>{"la", "lb", "lc"}));
        EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), 0);
        EXPECT_EQ(Form15->ShockwaveFlash1->Movie(), (work_ / "xtsz" / "LRC_yulan.swf").string());
        EXPECT_GT(Form15->ShockwaveFlash1->TotalFrames(), 0);
        EXPECT_EQ(Line(), "这里显示歌词内容");
        EXPECT_EQ(Form15->ShockwaveFlash1->GetVariable("LRC_geciyanse"), "0xFF0000") << "the project's style";
        EXPECT_FALSE(Form15->kivPageControl1->Enabled());
        EXPECT_EQ(Form15->kivTabSheet1->Caption(), std::string(42, ' ') + "歌词预览" + std::string(43, ' '));
        EXPECT_EQ(Form16->kivComboBox1->Items().Count(), 78);
        EXPECT_EQ(Form16->kivComboBox2->Items().Count(), 8);
        Form15->kivComboBox2->SetItemIndex(2);
    });
    EXPECT_TRUE(messages_.empty());

    // Deleting a song in the main window takes its lyric row: the dialog
    // shows the rows as they are, the song list anew, the choice kept
    // where it still exists.
    Form1->kivListView2->SetItemIndex(0);
    Form1->kivListView2->Items().Delete(0);
    Form1->kivListView5->Items().Delete(0);
    InDialog([&] {
        EXPECT_EQ(Form15->kivComboBox1->Items().Items(), (std::vector<std::string>{"b"}));
        EXPECT_EQ(Form15->kivComboBox2->Items().Items(), (std::vector<std::string>{"lb", "lc"}));
        EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), 0) << "entry 2 is gone";
        EXPECT_EQ(Form16->kivComboBox1->Items().Count(), 78) << "filled anew, not appended";
        Form15->kivComboBox2->SetItemIndex(1);
    });
    InDialog([&] { EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), 1); });
    Form1->kivListView5->Items().Clear();
    InDialog([&] {
        EXPECT_EQ(Form15->kivComboBox2->Items().Count(), 0);
        EXPECT_EQ(Form15->kivComboBox2->Text(), "");
    });
}

TEST_F(LyricWindow, ImportListsEveryReadableFileAndParsesTheFirst)
{
    AddSong("a");
    AddSong("b");
    AddLyricRow(Lrc("old.lrc", "[00:09.00]old"));
    const fs::path first = Lrc("First.LRC", "[ti:T]\n[00:01.00][00:02.00]one\nplain\n");
    const fs::path second = Lrc("second.lrc", "[00:03.00]two");
    const fs::path folder = files_ / "folder.lrc";
    fs::create_directory(folder);
    InDialog([&] {
        // Cancelled: nothing changes.
        Import({});
        EXPECT_EQ(Form1->kivListView5->Items().Count(), 1);
        EXPECT_EQ(dialog_file_name_, (core::ProgramDir() / "LRC歌词" / "").string());
        EXPECT_TRUE(Form15->OpenDialog1->Options() & ofAllowMultiSelect);
        const std::vector<ui::FileFilter> filters = ui::ParseFileFilter(Form15->OpenDialog1->Filter());
        ASSERT_EQ(filters.size(), 1u);
        EXPECT_EQ(filters[0].name, "导入歌词(LRC)");
        EXPECT_TRUE(ui::MatchesFilter("x.LRC", filters[0]));
        EXPECT_FALSE(ui::MatchesFilter("x.txt", filters[0]));

        Form15->kivComboBox2->SetItemIndex(-1);
        Import({folder, first, files_ / "gone.lrc", second});
        EXPECT_EQ(Captions(*Form1->kivListView5), (std::vector<std::string>{"old", "First", "second"}));
        EXPECT_EQ(Form1->kivListView5->Items()[1]->SubItems()[0], first.string());
        EXPECT_EQ(Form1->kivListView5->Items()[2]->SubItems()[0], second.string());
        EXPECT_EQ(Form1->kivListView5->ItemIndex(), 0);
        EXPECT_EQ(Form15->kivComboBox2->Items().Items(),
                  (std::vector<std::string>{"old", "First", "second"}));
        EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), 0);
        // The first readable file is parsed: the main window's index, the
        // dialog's own numbered lines and tag lines.
        EXPECT_EQ(Form1->LyricIndexRows(),
                  (std::vector<app::LrcRow>{{"00:02.00", "one"}, {"00:01.00", "one"}, {"ti", "T"}}));
        EXPECT_EQ(Captions(*Form15->kivListView1), (std::vector<std::string>{"1", "2"}));
        EXPECT_EQ(Form15->kivListView1->Items()[1]->SubItems()[0], "plain");
        EXPECT_EQ(Form15->kivListBox3->Items().Items(), std::vector<std::string>{"[ti:T]"});
        // The files that could not be read are named, and not listed.
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].caption, "导入歌词");
        EXPECT_EQ(messages_[0].text, "下列歌词文件不能读取,没有导入:\n" + folder.string() + "\n" +
                                         (files_ / "gone.lrc").string());
        EXPECT_EQ(messages_[0].button, "确定");

        // Nothing readable: nothing changes but the message.
        Import({folder});
        EXPECT_EQ(Form1->kivListView5->Items().Count(), 3);
        EXPECT_EQ(Form1->LyricIndexRows().size(), 3u);
        EXPECT_EQ(messages_.size(), 2u);
    });
}

TEST_F(LyricWindow, DeleteTakesTheChosenEntryWithItsRow)
{
    AddSong("a");
    for (const char* name : {"la.lrc", "lb.lrc", "lc.lrc"}) AddLyricRow(Lrc(name, ""));
    InDialog([&] {
        Form15->kivComboBox2->SetItemIndex(1);
        Form15->kivButton2->Click();
        EXPECT_EQ(Captions(*Form1->kivListView5), (std::vector<std::string>{"la", "lc"}));
        EXPECT_EQ(Form15->kivComboBox2->Items().Items(), (std::vector<std::string>{"la", "lc"}));
        EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), 0);
        Form15->kivComboBox2->SetItemIndex(-1);
        Form15->kivButton2->Click();  // nothing chosen: nothing goes
        EXPECT_EQ(Form1->kivListView5->Items().Count(), 2);
        for (int i = 0; i < 2; ++i) {
            Form15->kivComboBox2->SetItemIndex(0);
            Form15->kivButton2->Click();
        }
        EXPECT_EQ(Form1->kivListView5->Items().Count(), 0);
        EXPECT_EQ(Form15->kivComboBox2->Items().Count(), 0);
        EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), -1);
        EXPECT_EQ(Form15->kivComboBox2->Text(), "");
        Form15->kivButton2->Click();  // an empty list stays empty
        EXPECT_TRUE(messages_.empty());

        // Play with no lyric file listed.
        Form15->kivButton5->Click();
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].caption, "没有导入歌词");
        EXPECT_EQ(messages_[0].text, "没有导入歌词.");
        EXPECT_EQ(messages_[0].button, "确定");
        ExpectIdle();
    });
}

TEST_F(LyricWindow, KaraokeShowsTheChosenLyricsInTimeWithTheChosenSong)
{
    AddSong("a", 1.0);
    const fs::path song = AddSong("b", 3.0);
    AddLyricRow(Lrc("la.lrc", "[00:00.10]wrong"));
    AddLyricRow(Lrc("lb.lrc", "[ti:Title]\n[00:00.50]one\n[00:02.20]two\n[00:02.90]late"));
    Form1->LrcSongIndex = 0;
    InDialog([&] {
        Form15->kivComboBox1->SetItemIndex(1);
        Form15->kivComboBox2->SetItemIndex(1);
        Form15->kivButton5->Click();
        EXPECT_EQ(PlayLockStates(), std::vector<bool>(7, false));
        EXPECT_TRUE(Form15->kivButton6->Enabled());
        EXPECT_TRUE(Form15->Timer1->Enabled());
        EXPECT_EQ(Player().URL(), song.string());
        EXPECT_EQ(Form1->MusicIndex, 1);
        EXPECT_EQ(Form1->LrcSongIndex, 0) << "the preview's song counter is left alone";
        EXPECT_EQ(Form1->LyricAt("00:02"), "two") << "lyric row 1, loaded for the dialog";
        EXPECT_EQ(Line(), "");

        ASSERT_TRUE(PlayTo(0.3));
        EXPECT_EQ(Line(), "one") << "the key is the second: 00:00 finds 00:00.50";
        ASSERT_TRUE(PlayTo(1.5));
        EXPECT_EQ(Line(), "one") << "a second without a tag keeps the line";
        ASSERT_TRUE(PlayTo(2.1));
        EXPECT_EQ(Line(), "two") << "the first tag of the second wins";
        ASSERT_TRUE(PlayTo(2.95));
        EXPECT_EQ(Line(), "two");

        Form15->kivButton6->Click();
        ExpectIdle();
        EXPECT_EQ(Player().playState(), wmppsStopped);
        app_.RunForMs(50);
        EXPECT_EQ(Line(), "这里显示歌词内容");
    });
    EXPECT_TRUE(messages_.empty());
}

TEST_F(LyricWindow, WhenTheSongEndsTheNextOneAndItsOwnLyricsFollow)
{
    AddSong("a", 1.0);
    AddSong("b", 2.0);
    AddSong("c", 2.0);
    AddLyricRow(Lrc("la.lrc", "[00:00.00]a line"));
    AddLyricRow(Lrc("lb.lrc", "[00:00.00]b line"));
    InDialog([&] {
        Form15->kivButton5->Click();
        ASSERT_TRUE(PlayTo(0.5));
        EXPECT_EQ(Line(), "a line");
        ASSERT_TRUE(
            app_.App().PumpUntil([&] { return Form15->PlayingSong() == 1 && Line() == "b line"; }, 5000));
        EXPECT_EQ(Form1->MusicIndex, 1);
        EXPECT_EQ(Form15->kivComboBox1->ItemIndex(), 1);
        EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), 1);
        // Song c has no lyric row: no line, rather than b's.
        ASSERT_TRUE(app_.App().PumpUntil([&] { return Form15->PlayingSong() == 2; }, 5000));
        EXPECT_EQ(Line(), "");
        EXPECT_EQ(Form15->kivComboBox2->ItemIndex(), 1);

        // A stop while the next song waits to start leaves the player stopped.
        ASSERT_TRUE(app_.App().PumpUntil([&] { return Form1->Timer1->Enabled(); }, 5000));
        Form15->kivButton6->Click();
        app_.RunForMs(100);
        ExpectIdle();
        EXPECT_EQ(Player().playState(), wmppsStopped);
    });
}

TEST_F(LyricWindow, ClosingWhilePlayingStopsTheSong)
{
    AddSong("a", 5.0);
    AddLyricRow(Lrc("la.lrc", "[00:00.00]line"));
    struct Case {
        const char* how;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"title bar",
         [] {
             ui::InputEvent close;
             close.kind = ui::InputEvent::CloseRequest;
             ui::Headless().Post(*Form15, close);
             App().ProcessMessages();
         }},
        {"返回", [] { Form15->kivButton3->Click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        InDialog([&] {
            Form15->kivButton5->Click();
            ASSERT_TRUE(PlayTo(0.5));
            EXPECT_EQ(Line(), "line");
            c.close();
            EXPECT_EQ(Form15->ModalResult(), mrCancel);
        });
        ExpectIdle();
        app_.RunForMs(100);
        EXPECT_EQ(Player().playState(), wmppsStopped);
    }
}

TEST_F(LyricWindow, PlayDoesNothingWithoutASongAndStopsAtWhatCannotBeRead)
{
    AddSong("a", 1.0);
    const fs::path broken = AddSong("broken");
    std::ofstream(broken, std::ios::binary) << std::string(5000, 'x');
    const fs::path lyric = Lrc("la.lrc", "[00:00.00]line");
    AddLyricRow(lyric);
    InDialog([&] {
        Form15->kivComboBox1->SetItemIndex(-1);
        Form15->kivButton5->Click();
        ExpectIdle();
        EXPECT_EQ(Player().URL(), "");

        Form15->kivComboBox1->SetItemIndex(0);
        fs::remove(lyric);
        Form15->kivButton5->Click();
        ExpectIdle();
        EXPECT_EQ(Player().URL(), "");
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].caption, "播放歌词");
        EXPECT_EQ(messages_[0].text, "歌词文件不能读取:\n" + lyric.string());

        // A song the player cannot play ends the karaoke with a message.
        Lrc("la.lrc", "[00:00.00]line");
        Form15->kivComboBox1->SetItemIndex(1);
        Form15->kivButton5->Click();
        EXPECT_TRUE(app_.App().PumpUntil([] { return !Form15->Timer1->Enabled(); }, 5000));
        ExpectIdle();
        ASSERT_EQ(messages_.size(), 2u);
        EXPECT_EQ(messages_[1].caption, "播放歌词");
        EXPECT_EQ(messages_[1].text, "歌曲不能播放:\n" + broken.string());
    });
}

// --- the lyric style dialog ---------------------------------------------------------------

TEST_F(LyricWindow, TheStyleDialogShowsTheHeldValues)
{
    AddSong("a");
    struct Case {
        production::LyricStyle style;
        TkivRadioButton* TForm16::*align_radio;
        int color_entry;
        TkivRadioButton* TForm16::*bold_radio;
        int size_entry;
        int x_position, y_position;
    };
    const Case cases[] = {
        {{LyricAlign::kCenter, 0xFFFFFF, false, false, false, 12, 5, 250},
         &TForm16::kivRadioButton2,
         1,
         &TForm16::kivRadioButton6,
         9,
         5,
         250},
        {{LyricAlign::kRight, 0xFF00FF, true, true, true, 80, 352, 1},
         &TForm16::kivRadioButton3,
         5,
         &TForm16::kivRadioButton7,
         77,
         352,
         1},
        {{LyricAlign::kLeft, 0x000000, false, false, true, 3, 1, 288},
         &TForm16::kivRadioButton1,
         0,
         &TForm16::kivRadioButton6,
         0,
         1,
         288},
    };
    InDialog([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.color_entry);
            Form1->LrcStyle = c.style;
            InStyleDialog([&] {
                EXPECT_EQ(Form16->Width(), 263);
                EXPECT_EQ(Form16->Height(), 509);
                EXPECT_TRUE((Form16->*c.align_radio)->Checked());
                EXPECT_EQ(Form16->kivComboBox2->ItemIndex(), c.color_entry);
                EXPECT_TRUE((Form16->*c.bold_radio)->Checked());
                EXPECT_EQ(Form16->kivCheckBox1->Checked(), c.style.italic);
                EXPECT_EQ(Form16->kivCheckBox2->Checked(), c.style.underline);
                EXPECT_EQ(Form16->kivComboBox1->ItemIndex(), c.size_entry);
                EXPECT_EQ(Form16->kivComboBox1->Text(), std::to_string(c.style.size));
                EXPECT_EQ(Form16->kivTrackBar1->Position(), c.x_position);
                EXPECT_EQ(Form16->kivTrackBar2->Position(), c.y_position);
                EXPECT_FALSE(Form16->kivTabSheet5->Enabled()) << "the position is not changed here";
            });
            // Opening changes no value.
            EXPECT_EQ(Form1->LrcStyle, c.style);
        }
    });
}

TEST_F(LyricWindow, EachStyleChangeIsStoredAndShownAtOnce)
{
    AddSong("a");
    auto choose = [](TkivComboBox* combo, int entry) {
        combo->SetItemIndex(entry - 1);
        uint16_t key = VK_DOWN;
        combo->KeyDown(key, 0);
    };
    auto sent = [](const char* variable) { return Form15->ShockwaveFlash1->GetVariable(variable); };
    InDialog([&] {
        InStyleDialog([&] {
            Form16->kivRadioButton3->Click();
            EXPECT_EQ(Form1->LrcStyle.align, LyricAlign::kRight);
            EXPECT_EQ(sent("LRC_ju_zuozhongyou"), "right");
            Form16->kivRadioButton1->Click();
            EXPECT_EQ(Form1->LrcStyle.align, LyricAlign::kLeft);
            EXPECT_EQ(sent("LRC_ju_zuozhongyou"), "left");

            choose(Form16->kivComboBox2, 5);
            EXPECT_EQ(Form1->LrcStyle.colour, 0xFF00FFu);
            EXPECT_EQ(sent("LRC_geciyanse"), "0xFF00FF");

            Form16->kivRadioButton7->Click();
            EXPECT_TRUE(Form1->LrcStyle.bold);
            EXPECT_EQ(sent("LRC_biaozhuen_cuti"), "true");
            Form16->kivRadioButton6->Click();
            EXPECT_EQ(sent("LRC_biaozhuen_cuti"), "false");

            Form16->kivCheckBox1->Click();
            EXPECT_TRUE(Form1->LrcStyle.italic);
            EXPECT_EQ(sent("LRC_xieti"), "true");
            Form16->kivCheckBox1->Click();
            EXPECT_FALSE(Form1->LrcStyle.italic);
            EXPECT_EQ(sent("LRC_xieti"), "false");
            Form16->kivCheckBox2->Click();
            EXPECT_TRUE(Form1->LrcStyle.underline);
            EXPECT_EQ(sent("LRC_xiahuaxian"), "true");

            choose(Form16->kivComboBox1, 77);
            EXPECT_EQ(Form1->LrcStyle.size, 80);
            EXPECT_EQ(sent("LRC_gecidaxiao"), "80");
        });
        // Closing keeps every change; the next opening shows them.
        InStyleDialog([&] {
            EXPECT_EQ(Form16->kivComboBox2->ItemIndex(), 5);
            EXPECT_EQ(Form16->kivComboBox2->Text(), "magenta（洋红色）");
            EXPECT_TRUE(Form16->kivRadioButton1->Checked());
            EXPECT_TRUE(Form16->kivCheckBox2->Checked());
            EXPECT_EQ(Form16->kivComboBox1->ItemIndex(), 77);
        });
    });
    EXPECT_EQ(Form1->LrcStyle.colour, 0xFF00FFu);
    EXPECT_TRUE(Form1->LrcStyle.underline);
    EXPECT_EQ(Form1->LrcStyle.x, 5) << "untouched";
    // The lyric dialog opens with the style held.
    InDialog([&] { EXPECT_EQ(sent("LRC_gecidaxiao"), "80"); });
}

}  // namespace
