// The main window's music list with its measuring form, and the sync-mode
// dialog, on the headless back end with a virtual clock, a temporary
// system folder and songs written by the test.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "app/music_measure_form.h"
#include "app/sync_mode_form.h"
#include "app/music_list.h"
#include "app/template_format.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/file_filter.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_radio_button.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/music_files.h"

namespace {

namespace fs = std::filesystem;

class MusicWindow : public app_test::StartedMainWindow {
protected:
    void SetUp() override
    {
        StartedMainWindow::SetUp();
        songs_ = system_.Path() / "songs";
        fs::create_directories(songs_);
    }

    fs::path Wav(const std::string& name, double seconds)
    {
        const fs::path file = songs_ / name;
        app_test::WriteWavTone(file, seconds);
        return file;
    }
    fs::path Mp3(const std::string& name, double seconds)
    {
        const fs::path file = songs_ / name;
        app_test::WriteMp3Tone(file, seconds);
        return file;
    }

    // "导入音乐" with the files chosen in the dialog (none: cancelled).
    void Import(const std::vector<fs::path>& files)
    {
        ChooseFiles(files);
        Form1->kivButton10->Click();
        EXPECT_FALSE(Form4->Visible()) << "the measuring form closes itself";
    }

    // A valid template of `total_frames` frames whose segments end at 100
    // and 250 and show 2 and 3 photos.
    void LoadTemplate(uint32_t total_frames)
    {
        flash::Movie movie;
        movie.frame_count = total_frames;
        const std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
        const fs::path file = work_ / "zhzp" / "zhzp1.swf";
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        Form1->xiao_guo_Flash->SetMovie(file.string());
        ASSERT_EQ(Form1->xiao_guo_Flash->TotalFrames(), static_cast<int>(total_frames));
        for (const char* row : {"0", "0"}) Form1->ListBox1->Items().Add(row);
        for (const char* row : {"100", "250"}) Form1->ListBox2->Items().Add(row);
        for (const char* row : {"2", "3"}) Form1->ListBox3->Items().Add(row);
        Form1->TemplateState = std::string(app::template_format::kValidityConstant);
    }

    void AddPhotos(int count)
    {
        for (int i = 0; i < count; ++i) {
            const std::string name = std::to_string(i);
            TListItem* row = Form1->kivListView1->Items().Add();
            row->SetCaption(name);
            row->SubItems().Add((fs::path("/photos") / (name + ".jpg")).string());
        }
    }

    void AddLyrics(const std::vector<std::string>& captions)
    {
        for (const std::string& caption : captions) {
            TListItem* row = Form1->kivListView5->Items().Add();
            row->SetCaption(caption);
            row->SubItems().Add("/lyrics/" + caption + ".lrc");
        }
    }

    std::vector<std::string> Captions(TkivListView* view) const
    {
        std::vector<std::string> captions;
        for (int i = 0; i < view->Items().Count(); ++i) captions.push_back(view->Items()[i]->Caption());
        return captions;
    }
    std::string Field(int row, int field) const
    {
        return Form1->kivListView2->Items()[row]->SubItems()[field];
    }

    TWindowsMediaPlayer& Player() const { return *Form1->WindowsMediaPlayer2; }

    fs::path songs_;
};

TEST_F(MusicWindow, ImportMeasuresEveryRowIntoTheTotalAndTheLabels)
{
    const fs::path a = Wav("a.wav", 61.5), b = Mp3("B.MP3", 3.0);
    Import({a, b});

    EXPECT_EQ(dialog_file_name_, (core::ProgramDir() / "MP3歌曲" / "").string());
    EXPECT_TRUE(Form1->OpenDialog2->Options() & ofAllowMultiSelect);
    const std::vector<ui::FileFilter> filters = ui::ParseFileFilter(Form1->OpenDialog2->Filter());
    ASSERT_EQ(filters.size(), 1u);
    for (const char* name : {"B.MP3", "a.wav", "c.Mp3", "d.WAV"})
        EXPECT_TRUE(ui::MatchesFilter(name, filters[0])) << name;
    EXPECT_FALSE(ui::MatchesFilter("e.ogg", filters[0]));

    ASSERT_EQ(Captions(Form1->kivListView2), (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(Field(0, 0), a.string());
    EXPECT_EQ(Field(1, 0), b.string());
    EXPECT_EQ(Field(0, 1), "01:01");
    EXPECT_EQ(Field(1, 1), "00:03");
    ASSERT_EQ(Form1->MusicRowSeconds.size(), 2u);
    EXPECT_NEAR(Form1->MusicRowSeconds[0], 61.5, 0.01);
    EXPECT_NEAR(Form1->MusicRowSeconds[1], 3.0, 0.1);
    EXPECT_DOUBLE_EQ(Form1->MusicSeconds, Form1->MusicRowSeconds[0] + Form1->MusicRowSeconds[1]);
    EXPECT_EQ(Form1->Label1->Caption(), "00:01:04");
    EXPECT_EQ(Form1->kivListView2->ItemIndex(), 0);
    EXPECT_EQ(Form4->kivProgressBar1->Max(), 2);
    EXPECT_EQ(Form4->kivProgressBar1->Position(), 2);
    EXPECT_EQ(Form4->Width(), 519);
    EXPECT_EQ(Form4->Height(), 222);
    EXPECT_NE(Player().playState(), wmppsPlaying) << "measuring leaves the player stopped";
    EXPECT_FALSE(Player().settings().mute());
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:00") << "no template: the album length stays";
    EXPECT_TRUE(messages_.empty());

    // A cancelled dialog changes nothing; a further import appends and
    // measures the whole list, and the album length follows the music.
    Import({});
    EXPECT_EQ(Form1->kivListView2->Items().Count(), 2);
    LoadTemplate(250);
    Form1->SyncMode = "zhaopiansuiyinyue";
    Import({a});
    EXPECT_EQ(Captions(Form1->kivListView2), (std::vector<std::string>{"a", "B", "a"}));
    EXPECT_EQ(Form1->Label1->Caption(), "00:02:06");
    EXPECT_EQ(Form1->Label2->Caption(), "00:02:06");
    EXPECT_EQ(Form1->MusicRowSeconds.size(), 3u);
}

TEST_F(MusicWindow, TheLastSongGoingSetsTheAlbumLengthAndFallsBackFromFollowingTheMusic)
{
    const fs::path song = Wav("song.wav", 1.0);
    struct Case {
        const char* mode;
        bool photos;
        bool delete_all;
        const char* length;   // Label2 afterwards
        const char* message;  // nullptr: none, the mode stays
    };
    const Case cases[] = {
        {"yinyuesuimobanchangdu", false, false, "00:00:00", nullptr},
        {"yinyuesuizhaopian", false, true, "00:00:00", nullptr},
        {"zhaopiansuiyinyue", false, false, "00:00:00", app::kDeleteOneFallBackText},
        {"zhaopiansuiyinyue", false, true, "00:00:00", app::kDeleteAllFallBackText},
        {"yinyuesuimobanchangdu", true, true, "00:00:10", nullptr},
        {"yinyuesuizhaopian", true, false, "00:00:40", nullptr},
        {"yinyuesuizhaopian", true, true, "00:00:40", nullptr},
        {"zhaopiansuiyinyue", true, false, "00:00:10", app::kDeleteOneFallBackText},
        {"zhaopiansuiyinyue", true, true, "00:00:10", app::kDeleteAllFallBackText},
    };
    LoadTemplate(250);  // 10 s
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + (c.photos ? " photos" : " no photos") +
                     (c.delete_all ? " all" : " one"));
        Form1->kivListView1->Items().Clear();
        if (c.photos) AddPhotos(3);
        Import({song});
        AddLyrics({"song"});
        Form1->SyncMode = c.mode;
        Form1->PhotoFrames = 1000;  // 40 s
        Form1->Label2->SetCaption("77:77:77");
        messages_.clear();
        if (c.delete_all) {
            Form1->kivButton28->Click();
        } else {
            Form1->kivListView2->SetItemIndex(0);
            Form1->kivButton27->Click();
        }
        EXPECT_EQ(Form1->kivListView2->Items().Count(), 0);
        EXPECT_EQ(Form1->kivListView5->Items().Count(), 0);
        EXPECT_EQ(Form1->Label1->Caption(), "00:00:00");
        EXPECT_EQ(Form1->MusicSeconds, 0);
        EXPECT_TRUE(Form1->MusicRowSeconds.empty());
        EXPECT_EQ(Form1->MusicIndex, 0);
        EXPECT_EQ(Form1->Label2->Caption(), c.length);
        if (c.message) {
            EXPECT_EQ(Form1->SyncMode, "yinyuesuimobanchangdu");
            ASSERT_EQ(messages_.size(), 1u);
            EXPECT_EQ(messages_[0].caption, "同步效果");
            EXPECT_EQ(messages_[0].text, c.message);
            EXPECT_EQ(messages_[0].button, "确定");
        } else {
            EXPECT_EQ(Form1->SyncMode, c.mode);
            EXPECT_TRUE(messages_.empty());
        }
    }
    // Photos but no valid template: the album length is left alone.
    Form1->TemplateState.clear();
    Import({song});
    Form1->Label2->SetCaption("77:77:77");
    Form1->kivButton28->Click();
    EXPECT_EQ(Form1->Label2->Caption(), "77:77:77");
}

TEST_F(MusicWindow, DeletingASongTakesItsLyricRowAndMeasuresTheRestAgain)
{
    LoadTemplate(250);
    Import({Wav("a.wav", 2.0), Wav("b.wav", 30.0), Wav("c.wav", 5.0)});
    AddLyrics({"la", "lb", "lc"});
    Form1->SyncMode = "zhaopiansuiyinyue";

    // Nothing selected: nothing happens.
    Form1->kivListView2->SetItemIndex(-1);
    Form1->kivButton27->Click();
    EXPECT_EQ(Form1->kivListView2->Items().Count(), 3);

    Form1->kivListView2->SetItemIndex(1);
    Form1->kivButton5->Click();  // b plays
    EXPECT_EQ(Form1->MusicIndex, 1);
    Form1->kivButton27->Click();
    EXPECT_EQ(Captions(Form1->kivListView2), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(Captions(Form1->kivListView5), (std::vector<std::string>{"la", "lc"}));
    EXPECT_EQ(Form1->kivListView2->ItemIndex(), 0);
    EXPECT_EQ(Form1->MusicIndex, 0);
    EXPECT_EQ(Player().URL(), Field(0, 0));
    App().ProcessMessages();
    EXPECT_NE(Player().playState(), wmppsPlaying) << "row 0 is loaded but not playing";
    EXPECT_EQ(Form1->MusicRowSeconds, (std::vector<double>{2.0, 5.0}));
    EXPECT_EQ(Form1->Label1->Caption(), "00:00:07");
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:07") << "the album follows the shorter music";
    EXPECT_TRUE(messages_.empty());

    // The lyric list may be shorter than the music list.
    Form1->kivListView5->Items().Delete(1);
    Form1->kivListView2->SetItemIndex(1);
    Form1->kivButton27->Click();
    EXPECT_EQ(Captions(Form1->kivListView2), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Captions(Form1->kivListView5), (std::vector<std::string>{"la"}));
}

TEST_F(MusicWindow, EndOfSongPlaysTheNextAndWrapsToTheFirst)
{
    Import({Wav("a.wav", 0.5), Wav("b.wav", 0.3)});
    ASSERT_EQ(Form1->kivListView2->Items().Count(), 2);
    auto wait_for = [&](int index) {
        return app_.App().PumpUntil(
            [&] {
                return Form1->MusicIndex == index && Player().playState() == wmppsPlaying &&
                       !Form1->Timer1->Enabled();
            },
            5000);
    };

    Form1->kivListView2->SetItemIndex(1);
    Form1->kivListView2->DblClick();
    EXPECT_EQ(Form1->MusicIndex, 1);
    EXPECT_EQ(Player().URL(), Field(1, 0));
    ASSERT_TRUE(wait_for(0)) << "the last song wraps to the first";
    EXPECT_EQ(Player().URL(), Field(0, 0));
    ASSERT_TRUE(wait_for(1));
    EXPECT_EQ(Player().URL(), Field(1, 0));

    // The list changed under the playing song: the advance stays inside it.
    Form1->MusicIndex = 7;
    ASSERT_TRUE(wait_for(0));

    // "停止播放" ends it without an advance.
    Form1->kivButton6->Click();
    EXPECT_EQ(Player().playState(), wmppsStopped);
    app_.RunForMs(1500);
    EXPECT_EQ(Player().playState(), wmppsStopped);

    // A song that ends after its list was emptied starts nothing.
    Form1->kivButton5->Click();
    ASSERT_TRUE(wait_for(0));
    Form1->kivListView2->Items().Clear();
    EXPECT_TRUE(app_.App().PumpUntil([&] { return Player().playState() == wmppsMediaEnded; }, 5000));
    app_.RunForMs(100);
    EXPECT_EQ(Player().playState(), wmppsMediaEnded);
    EXPECT_FALSE(Form1->Timer1->Enabled());

    // Play and stop do nothing on an empty list.
    Form1->kivButton5->Click();
    Form1->kivButton6->Click();
    EXPECT_EQ(Player().playState(), wmppsMediaEnded);
}

TEST_F(MusicWindow, WithoutASoundDevicePlayingSaysSoOnce)
{
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string kept = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "velmora-no-such-driver", 1);
    Import({Wav("a.wav", 0.4), Wav("b.wav", 0.4)});
    EXPECT_TRUE(messages_.empty()) << "measuring plays muted and says nothing";

    auto play = [&](int row) {
        Form1->kivListView2->SetItemIndex(row);
        Form1->kivButton5->Click();
        return app_.App().PumpUntil([&] { return Player().playState() == wmppsPlaying; }, 5000);
    };
    ASSERT_TRUE(play(0)) << "the song plays on, silently";
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, "播放音乐");
    EXPECT_EQ(messages_[0].text, "没有找到声音设备, 音乐播放时听不到声音.");
    // The next songs, by the button or by the end of a song, say nothing.
    ASSERT_TRUE(play(1));
    EXPECT_TRUE(app_.App().PumpUntil([&] { return Form1->MusicIndex == 0; }, 5000));
    Form1->kivButton6->Click();
    EXPECT_EQ(messages_.size(), 1u);

    if (previous)
        setenv("SDL_AUDIODRIVER", kept.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    // With a device, nothing is said.
    messages_.clear();
    ASSERT_TRUE(play(0));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MusicWindow, FilesWithoutALengthAreNamedAndLeftOutOfTheTotal)
{
    const fs::path good = Wav("good.wav", 4.0);
    const fs::path garbage = songs_ / "garbage.mp3";
    std::mt19937 random(5);
    std::string bytes(100000, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    std::ofstream(garbage, std::ios::binary) << bytes;
    const fs::path empty = songs_ / "empty.wav";
    std::ofstream{empty};
    const fs::path silent = Wav("silent.wav", 0.0);  // a header and no sound

    // The box takes the activation and gives it back when it closes.
    skin::SetMessageDialogHook([this](const TkivMessageDialog& dialog) {
        messages_.push_back({dialog.Caption(), dialog.Text(), dialog.Button1Caption()});
        if (messages_.size() == 1) {
            Form4->SetActiveBySystem(false);
            Form4->SetActiveBySystem(true);
        }
        return mrOk;
    });
    Import({garbage, good, empty, silent});
    ASSERT_EQ(Form1->kivListView2->Items().Count(), 4);
    EXPECT_EQ(Form1->MusicRowSeconds, (std::vector<double>{0, 4.0, 0, 0}));
    EXPECT_EQ(Form1->MusicSeconds, 4.0);
    EXPECT_EQ(Form1->Label1->Caption(), "00:00:04");
    for (int row : {0, 2, 3}) EXPECT_EQ(Field(row, 1), "00:00") << row;
    EXPECT_EQ(Field(1, 1), "00:04");
    ASSERT_EQ(messages_.size(), 1u) << "one message, and no second measuring after it";
    EXPECT_EQ(messages_[0].caption, "正在分析音乐,请稍后...");
    for (const fs::path& file : {garbage, empty, silent})
        EXPECT_NE(messages_[0].text.find(file.string()), std::string::npos) << file;
    EXPECT_EQ(messages_[0].text.find(good.string()), std::string::npos);
}

// Only regular files are songs: a pipe nobody writes to, or a link to a
// device that never ends, is refused with its message and never measured;
// the other files chosen with it are imported and measured.
TEST_F(MusicWindow, FilesThatAreNoRegularFilesAreRefusedAtTheImport)
{
    const fs::path pipe = songs_ / "pipe.mp3";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path device = songs_ / "device.wav";
    fs::create_symlink("/dev/urandom", device);
    const fs::path folder = songs_ / "folder.mp3";
    fs::create_directories(folder);
    const fs::path good = Wav("good.wav", 2.0);

    Import({pipe, good, device, folder});
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, app::kImportMusicCaption);
    EXPECT_EQ(messages_[0].text, app::RefusedMusicText({pipe.string(), device.string(), folder.string()}));
    EXPECT_EQ(Captions(Form1->kivListView2), (std::vector<std::string>{"good"}));
    EXPECT_EQ(Form1->MusicRowSeconds, (std::vector<double>{2.0}));
    EXPECT_EQ(Form1->Label1->Caption(), "00:00:02");

    // Nothing but refused files: the list stays as it was.
    messages_.clear();
    Import({pipe});
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Captions(Form1->kivListView2), (std::vector<std::string>{"good"}));
}

// A song turned into a pipe after the import is not waited for: the player
// opens only regular files, and its error ends the measuring at once.
TEST_F(MusicWindow, ASongTurnedIntoAPipeIsMeasuredAsUnreadable)
{
    const fs::path song = Wav("song.wav", 1.0), good = Wav("good.wav", 2.0);
    Import({song, good});
    ASSERT_EQ(Form1->MusicRowSeconds, (std::vector<double>{1.0, 2.0}));
    fs::remove(song);
    ASSERT_EQ(::mkfifo(song.c_str(), 0600), 0);
    Form1->kivListView2->SetItemIndex(1);
    Form1->kivButton27->Click();  // "删除音乐" measures the rest again
    EXPECT_EQ(Form1->MusicRowSeconds, (std::vector<double>{0}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].text.find(song.string()), std::string::npos);
}

// --- the sync-mode dialog ------------------------------------------------------------------

class SyncModeDialog : public MusicWindow {
protected:
    // Opens the dialog with "同步效果", does `steps` in it, and returns once
    // it has closed.
    TModalResult Run(std::function<void()> steps)
    {
        bool ran = false;
        App().PostMessage([&] {
            steps();
            ran = true;
            if (Form8->Visible() && Form8->ModalResult() == mrNone) Form8->kivButton2->Click();
        });
        Form1->kivButton11->Click();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(Form8->Visible());
        return Form8->ModalResult();
    }
};

TEST_F(SyncModeDialog, EachChoiceSetsTheModeAndTheAlbumLength)
{
    LoadTemplate(250);  // 10 s a pass
    AddPhotos(7);       // a pass and 2 photos: 250 + 250 frames
    Import({Wav("song.wav", 61.5)});

    struct Case {
        TkivRadioButton* TForm8::*radio;
        const char* mode;
        const char* length;
    };
    for (const Case& c : {Case{&TForm8::kivRadioButton2, "yinyuesuizhaopian", "00:00:20"},
                          Case{&TForm8::kivRadioButton3, "zhaopiansuiyinyue", "00:01:01"},
                          Case{&TForm8::kivRadioButton1, "yinyuesuimobanchangdu", "00:00:10"}}) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(Run([&] {
                      EXPECT_EQ(Form8->Width(), 486);
                      EXPECT_EQ(Form8->Height(), 386);
                      (Form8->*c.radio)->Click();
                      Form8->kivButton1->Click();
                  }),
                  mrOk);
        EXPECT_EQ(Form1->SyncMode, c.mode);
        EXPECT_EQ(Form1->Label2->Caption(), c.length);
    }
    EXPECT_EQ(Form1->PhotoFrames, 500);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Form8->kivRadioButton1->Caption(), "音乐随模板长度同步 (音乐长度与模反长度相同)");
    EXPECT_EQ(Form8->kivRadioButton2->Caption(), "音乐随照片效果同步 (音乐长度与照片效果长度相同)");
    EXPECT_EQ(Form8->kivRadioButton3->Caption(), "照片效果随音乐同步 (照片效果长度与音乐长度相同)");
}

TEST_F(SyncModeDialog, CancelKeepsTheModeAndTheChoiceStaysForTheNextShowing)
{
    LoadTemplate(250);
    AddPhotos(4);  // within one pass: the end of segment 1
    Run([] {
        Form8->kivRadioButton2->Click();
        Form8->kivButton1->Click();
    });
    EXPECT_EQ(Form1->SyncMode, "yinyuesuizhaopian");
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:10");
    AddPhotos(3);
    Run([] {
        EXPECT_TRUE(Form8->kivRadioButton2->Checked());
        Form8->kivRadioButton1->Click();
        Form8->kivButton2->Click();
    });
    EXPECT_EQ(Form1->SyncMode, "yinyuesuizhaopian");
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:10");
    EXPECT_EQ(Form1->PhotoFrames, 250);
    Run([] { EXPECT_TRUE(Form8->kivRadioButton1->Checked()) << "the dialog keeps its own choice"; });
}

TEST_F(SyncModeDialog, ChoicesThatLackMusicOrATemplateAreRefused)
{
    Form1->Label2->SetCaption("00:00:00");
    // Following the music without music: refused on the click.
    Run([&] {
        Form8->kivRadioButton3->Click();
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].caption, "同步效果");
        EXPECT_EQ(messages_[0].text, "没有导入音乐,不能设置此项功能.");
        EXPECT_EQ(messages_[0].button, "确定");
        EXPECT_TRUE(Form8->kivRadioButton1->Checked());
        EXPECT_FALSE(Form8->kivRadioButton3->Checked());
    });
    // Following the photos without a template: refused on "确定", the
    // dialog stays open.
    messages_.clear();
    Run([&] {
        Form8->kivRadioButton2->Click();
        Form8->kivButton1->Click();
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, "没有导入模板,不能设置此项功能.");
        EXPECT_TRUE(Form8->Visible());
        EXPECT_TRUE(Form8->kivRadioButton1->Checked());
    });
    EXPECT_EQ(Form1->SyncMode, "yinyuesuimobanchangdu");
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:00");

    // Radio 3 chosen while there was music, the music deleted since:
    // confirming it is refused too.
    Import({Wav("song.wav", 3.0)});
    Run([] { Form8->kivRadioButton3->Click(); });  // cancelled, but the choice stays
    Form1->kivButton28->Click();
    messages_.clear();
    Run([&] {
        EXPECT_TRUE(Form8->kivRadioButton3->Checked());
        Form8->kivButton1->Click();
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, "没有导入音乐,不能设置此项功能.");
    });
    EXPECT_EQ(Form1->SyncMode, "yinyuesuimobanchangdu");
}

// --- forms built alone ---------------------------------------------------------------------

// The measuring form and the sync-mode dialog built alone, not connected
// to the main window, change nothing of its album.
TEST_F(MusicWindow, FormsNotConnectedToTheMainWindowLeaveItsAlbumAlone)
{
    LoadTemplate(250);
    AddPhotos(7);
    Import({Wav("song.wav", 3.0)});
    Form1->MusicSeconds = 99;
    Form1->kivListView2->Items()[0]->SubItems().SetStrings(1, "99:99");
    Form1->Label1->SetCaption("measured");

    auto* measure = CreateForm<TForm4>();
    measure->ShowModal();
    EXPECT_FALSE(measure->Visible()) << "it closes itself";
    EXPECT_EQ(Form1->MusicSeconds, 99);
    EXPECT_EQ(Field(0, 1), "99:99");
    EXPECT_EQ(Form1->Label1->Caption(), "measured");

    Form1->kivButton28->Click();  // no music: following it would be refused
    Form1->Label2->SetCaption("album");
    messages_.clear();
    auto* sync = CreateForm<TForm8>();
    sync->kivRadioButton3->Click();
    EXPECT_TRUE(sync->kivRadioButton3->Checked());
    sync->kivRadioButton2->Click();
    sync->kivButton1->Click();
    EXPECT_EQ(sync->ModalResult(), mrOk);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Form1->SyncMode, "yinyuesuimobanchangdu");
    EXPECT_EQ(Form1->Label2->Caption(), "album");
}

}  // namespace
