#include "app/lyrics_form.h"

#include <filesystem>
#include <optional>

#include "app/lyric_style_form.h"
#include "app/lyric_style.h"
#include "app/lyric_tables.h"
#include "app/music_list.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/dialogs.h"
#include "skin/kiv_button.h"
#include "skin/kiv_combo_box.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_tab_sheet.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_form_panel.h"

TForm15* Form15 = nullptr;

namespace {

constexpr int kWidth = 562;
constexpr int kHeight = 450;
constexpr int kMovieWidth = 352;
constexpr int kMovieHeight = 288;

using ui::Place;

std::string RowPath(const TListItem& row)
{
    return row.SubItems().Count() > 0 ? row.SubItems()[0] : std::string();
}

}  // namespace

TForm15::TForm15(TComponent* AOwner) : TForm(AOwner)
{
    ui::SetUpDialogForm(*this, "Form15", app::kLyricDialogCaption);
    SetBounds(Left(), Top(), kWidth, kHeight);
    kivForm1 = skin::AddFormPanel(*this, app::kLyricDialogCaption);

    // The lyric movie on a page control that only frames it (its pages sit 3 pixels in).
    const int top = TkivForm::kCaptionHeight + 8;
    kivPageControl1 = Place<TkivPageControl>(this, kivForm1, "kivPageControl1", 10, top, kMovieWidth + 6,
                                             kMovieHeight + TkivPageControl::kTabHeight + 6);
    kivTabSheet1 = new TkivTabSheet(this);
    kivTabSheet1->SetName("kivTabSheet1");
    kivTabSheet1->SetPageControl(kivPageControl1);
    kivTabSheet1->SetCaption(std::string(42, ' ') + "歌词预览" + std::string(43, ' '));
    kivPageControl1->SetActivePage(kivTabSheet1);
    kivPageControl1->SetEnabled(false);
    ShockwaveFlash1 =
        Place<TShockwaveFlash>(this, kivTabSheet1, "ShockwaveFlash1", 0, 0, kMovieWidth, kMovieHeight);

    // The choices and the buttons right of the movie.
    const int right = 380, column = 160;
    kivGroupBox1 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox1", right, top, column, 52);
    kivGroupBox1->SetCaption("选择歌曲");
    kivComboBox1 = Place<TkivComboBox>(this, kivGroupBox1, "kivComboBox1", 8, 20, column - 16, 22);
    kivGroupBox2 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox2", right, top + 60, column, 52);
    kivGroupBox2->SetCaption("选择歌词");
    kivComboBox2 = Place<TkivComboBox>(this, kivGroupBox2, "kivComboBox2", 8, 20, column - 16, 22);

    auto button = [this](const char* name, const char* caption, int at) {
        auto* b = Place<TkivButton>(this, kivForm1, name, right + 10, at, column - 20, 25);
        b->SetCaption(caption);
        return b;
    };
    kivButton1 = button("kivButton1", "导入歌词", top + 128);
    kivButton2 = button("kivButton2", "删除歌词", top + 160);
    kivButton4 = button("kivButton4", "调整歌词", top + 192);
    kivButton5 = button("kivButton5", "播放歌词", top + 232);
    kivButton6 = button("kivButton6", "停止播放", top + 264);
    kivButton3 = button("kivButton3", "返         回", top + 330);
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };
    kivButton3->OnClick = [this](TObject* Sender) { kivButton3Click(Sender); };
    kivButton4->OnClick = [this](TObject* Sender) { kivButton4Click(Sender); };
    kivButton5->OnClick = [this](TObject* Sender) { kivButton5Click(Sender); };
    kivButton6->OnClick = [this](TObject* Sender) { kivButton6Click(Sender); };

    // The import's parse tables.
    kivGroupBox3 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox3", 10, top, 500, 220);
    kivGroupBox3->SetVisible(false);
    kivListView1 = Place<TkivListView>(this, kivGroupBox3, "kivListView1", 6, 16, 240, 196);
    kivListView1->SetViewStyle(vsReport);
    for (const char* caption : {"序号", "歌词"}) kivListView1->Columns().Add()->SetCaption(caption);
    kivListBox1 = Place<TkivListBox>(this, kivGroupBox3, "kivListBox1", 250, 16, 80, 196);
    kivListBox2 = Place<TkivListBox>(this, kivGroupBox3, "kivListBox2", 334, 16, 80, 196);
    kivListBox3 = Place<TkivListBox>(this, kivGroupBox3, "kivListBox3", 418, 16, 80, 196);

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->SetFilter("导入歌词(LRC)|*.lrc;");
    OpenDialog1->SetOptions(ofAllowMultiSelect | ofFileMustExist);

    Timer1 = ui::MakeTimer(this, "Timer1", 1);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
}

TForm15::~TForm15()
{
    if (Form15 == this) Form15 = nullptr;
}

namespace app {

void OpenLyricDialog(const LyricsView& main)
{
    if (!Form15 || Form15->Visible()) return;
    if (main.music.Count() == 0) {
        main.tell(kLyricDialogCaption, kNoMusicForLyricsText);
        return;
    }
    TForm15& dialog = *Form15;
    TStrings& songs = dialog.kivComboBox1->Items();
    songs.Clear();
    for (int row = 0; row < main.music.Count(); ++row) songs.Add(main.music[row]->Caption());
    dialog.kivComboBox1->SetItemIndex(0);

    // The lyric rows go with their songs when songs are deleted: the list
    // shows them as they are now, keeping the choice where it still exists.
    const int chosen = dialog.kivComboBox2->ItemIndex();
    TStrings& lyrics = dialog.kivComboBox2->Items();
    lyrics.Clear();
    const TListItems& files = main.lyric_files.Items();
    for (int row = 0; row < files.Count(); ++row) lyrics.Add(files[row]->Caption());
    dialog.kivComboBox2->SetItemIndex(lyrics.Count() == 0                      ? -1
                                      : chosen >= 0 && chosen < lyrics.Count() ? chosen
                                                                               : 0);

    dialog.ShockwaveFlash1->SetMovie((main.work_path() / kLyricPreviewMovie).string());
    if (Form16) Form16->FillLists();
    // The movie shows the project's style from the start.
    for (const auto& [name, value] : production::LyricStyleVariables(main.style))
        dialog.ShockwaveFlash1->SetVariable(name, value);
    dialog.SetMovieVariable(kLyricLineVariable, kLyricPlaceholder);
    dialog.ShowModal();
}

}  // namespace app

void TForm15::FormShow(TObject*) { SetBounds(Left(), Top(), kWidth, kHeight); }

void TForm15::FormCloseQuery(TObject*, bool& CanClose)
{
    StopPlaying();
    CanClose = true;
}

void TForm15::SetMovieVariable(const std::string& name, const std::string& value)
{
    ShockwaveFlash1->SetVariable(name, value);
    RefreshMovie();
}

void TForm15::RefreshMovie()
{
    ShockwaveFlash1->SetFrameNum(ShockwaveFlash1->TotalFrames());
    ShockwaveFlash1->SetFrameNum(0);
}

void TForm15::ShowMessage(const std::string& caption, const std::string& text)
{
    skin::Tell(*kivMessageDialog1, caption, text);
}

void TForm15::kivButton1Click(TObject*)
{
    if (!main_) return;
    app::LyricsView& main = *main_;
    OpenDialog1->SetFileName("");
    // The trailing separator opens the dialog inside the lyrics folder.
    OpenDialog1->SetFileName((core::ProgramDir() / "LRC歌词" / "").string());
    if (!OpenDialog1->Execute()) return;
    std::vector<std::string> files = OpenDialog1->Files().Items();
    if (files.empty() && !OpenDialog1->FileName().empty()) files.push_back(OpenDialog1->FileName());

    // A file that cannot be read is not listed: it would give its song no
    // lyrics without a word.
    std::vector<std::string> readable, unreadable;
    std::optional<std::string> first;
    for (const std::string& file : files) {
        std::optional<std::string> bytes = app::ReadLrcFile(std::filesystem::u8path(file));
        if (!bytes) {
            unreadable.push_back(file);
            continue;
        }
        if (!first) first = std::move(bytes);
        readable.push_back(file);
    }
    if (first) {
        app::ShowLyricTables(app::ParseLrcFile(*first),
                             {kivListView1, &main.lyric_index, kivListBox1, kivListBox2, kivListBox3});
        TListItems& rows = main.lyric_files.Items();
        for (const std::string& file : readable) {
            const std::string caption = app::ListCaption(std::filesystem::u8path(file));
            TListItem* row = rows.Add();
            row->SetCaption(caption);
            row->SubItems().Add(file);
            main.lyric_files.SetItemIndex(0);
            kivComboBox2->Items().Add(caption);
        }
        kivComboBox2->SetItemIndex(0);
    }
    if (!unreadable.empty()) {
        std::string text = app::kUnreadableLyricsText;
        for (const std::string& file : unreadable) text += "\n" + file;
        ShowMessage(app::kLyricDialogCaption, text);
    }
}

void TForm15::kivButton2Click(TObject*)
{
    const int index = kivComboBox2->ItemIndex();
    if (kivComboBox2->Items().Count() == 0 || index < 0) return;
    if (main_ && index < main_->lyric_files.Items().Count()) main_->lyric_files.Items().Delete(index);
    kivComboBox2->Items().Delete(index);
    if (kivComboBox2->Items().Count() > 0) {
        kivComboBox2->SetItemIndex(0);
    } else {
        kivComboBox2->Clear();
        kivComboBox2->SetItemIndex(-1);
    }
}

std::vector<TControl*> TForm15::PlayLockList() const
{
    return {kivButton1, kivButton2, kivButton3, kivButton4, kivButton5, kivComboBox1, kivComboBox2};
}

void TForm15::kivButton5Click(TObject*)
{
    if (song_ >= 0) return;
    if (kivComboBox2->Items().Count() == 0) {
        ShowMessage(app::kNoLyricsCaption, app::kNoLyricsText);
        return;
    }
    if (!main_) return;
    app::LyricsView& main = *main_;
    const TListItems& music = main.music;
    const TListItems& files = main.lyric_files.Items();
    const int song = kivComboBox1->ItemIndex();
    const int lyric = kivComboBox2->ItemIndex();
    if (song < 0 || song >= music.Count() || lyric < 0 || lyric >= files.Count()) return;
    // The chosen lyric entry is the one tried out (not the row the last
    // preview run stopped at).
    const std::string lyric_file = RowPath(*files[lyric]);
    if (!app::ReadLrcFile(std::filesystem::u8path(lyric_file))) {
        ShowMessage(app::kPlayLyricsCaption, std::string(app::kUnreadableLyricText) + "\n" + lyric_file);
        return;
    }

    for (TControl* control : PlayLockList()) control->SetEnabled(false);
    SetMovieVariable(app::kLyricLineVariable, "");
    LoadLyricRow(lyric);
    song_ = song;
    // The song is the row last started: the end-of-track advance goes on
    // from it.
    main.music_index = song;
    main.music_player.SetURL(RowPath(*music[song]));
    Timer1->SetEnabled(true);
}

void TForm15::LoadLyricRow(int row)
{
    lyrics_ = main_ ? main_->load_lyrics(row) : std::vector<app::LrcRow>{};
}

void TForm15::FollowSong(int song)
{
    song_ = song;
    if (song < kivComboBox1->Items().Count()) kivComboBox1->SetItemIndex(song);
    if (song < kivComboBox2->Items().Count()) kivComboBox2->SetItemIndex(song);
    // Row k of the lyric files is song k's; a song without one shows none.
    LoadLyricRow(song);
    ShockwaveFlash1->SetVariable(app::kLyricLineVariable, "");
}

void TForm15::Timer1Timer(TObject*)
{
    if (song_ < 0 || !main_) {
        Timer1->SetEnabled(false);
        return;
    }
    TWindowsMediaPlayer& player = main_->music_player;
    // A song that cannot be played would hold the first line for ever.
    if (player.HasError()) {
        const std::string song = player.URL();
        StopPlaying();
        ShowMessage(app::kPlayLyricsCaption, std::string(app::kUnplayableSongText) + "\n" + song);
        return;
    }
    // At the end of a song the music list starts the next one.
    const int playing = main_->music_index;
    if (playing != song_ && playing >= 0) FollowSong(playing);
    const std::string key = player.controls().currentPositionString();
    // The line is sent only when it changes: each sending redraws the movie,
    // and the timer ticks far more often than lines change.
    const std::optional<size_t> row = app::FindLyricRow(lyrics_, key);
    if (row && ShockwaveFlash1->GetVariable(app::kLyricLineVariable) != lyrics_[*row].text)
        ShockwaveFlash1->SetVariable(app::kLyricLineVariable, lyrics_[*row].text);
    RefreshMovie();
}

void TForm15::StopPlaying()
{
    SetMovieVariable(app::kLyricLineVariable, app::kLyricPlaceholder);
    for (TControl* control : PlayLockList()) control->SetEnabled(true);
    Timer1->SetEnabled(false);
    song_ = -1;
    lyrics_.clear();
    if (!main_) return;
    // A song that just ended has its successor waiting on the main
    // window's timer: it must not start after the stop.
    main_->next_song_timer.SetEnabled(false);
    main_->music_player.controls().stop();
}

void TForm15::kivButton6Click(TObject*) { StopPlaying(); }

void TForm15::kivButton3Click(TObject*)
{
    StopPlaying();
    Close();
}

void TForm15::kivButton4Click(TObject*)
{
    if (!Form16 || !main_) return;
    Form16->LoadStyle(main_->style);
    Form16->ShowModal();
}
