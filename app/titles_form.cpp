#include "app/titles_form.h"

#include <iostream>
#include <utility>

#include "app/ending_import.h"
#include "app/ending_text_form.h"
#include "app/music_list.h"
#include "app/time_text.h"
#include "mcl/mcl_timebase.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/shell/special_folders.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/label.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_memo.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_tab_sheet.h"
#include "platform/ui/form_building.h"

TForm11* Form11 = nullptr;

namespace {

constexpr int kWidth = 586;
constexpr int kHeight = 427;
constexpr int kMovieWidth = 352;
constexpr int kMovieHeight = 288;

using ui::Place;

}  // namespace

TForm11::TForm11(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form11");
    SetCaption(app::kTitlesCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(Left(), Top(), kWidth, kHeight);

    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 570, 417);
    kivForm1->SetAlign(alClient);
    kivForm1->SetCaption(app::kTitlesCaption);
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});

    kivPageControl1 =
        Place<TkivPageControl>(this, kivForm1, "kivPageControl1", 8, TkivForm::kCaptionHeight + 6, 554,
                               417 - TkivForm::kCaptionHeight - 14);
    auto page = [this](const char* name, const char* caption) {
        auto* sheet = new TkivTabSheet(this);
        sheet->SetName(name);
        sheet->SetPageControl(kivPageControl1);
        sheet->SetCaption(caption);
        return sheet;
    };
    kivTabSheet1 = page("kivTabSheet1", "     片头设置     ");
    kivTabSheet2 = page("kivTabSheet2", "     片尾设置     ");
    kivPageControl1->SetActivePage(kivTabSheet1);
    kivPageControl1->OnChange = [this](TObject* Sender) { kivPageControl1Click(Sender); };

    auto label = [this](const char* name, const char* caption, int left, int top, int width) {
        auto* l = Place<TLabel>(this, kivTabSheet1, name, left, top, width, 18);
        l->SetCaption(caption);
        return l;
    };
    Label1 = label("Label1", "片头名称:", 376, 16, 70);
    Label2 = label("Label2", "", 376, 38, 160);
    Label3 = label("Label3", "片头时间:", 376, 70, 70);
    Label4 = label("Label4", "00:00", 376, 92, 60);
    Label5 = label("Label5", "00:00", 446, 92, 60);

    kivGroupBox1 =
        Place<TkivGroupBox>(this, kivTabSheet1, "kivGroupBox1", 8, 8, kMovieWidth + 4, kMovieHeight + 4);
    kivGroupBox1->SetEnabled(false);
    WindowsMediaPlayer1 = Place<TWindowsMediaPlayer>(this, kivGroupBox1, "WindowsMediaPlayer1", 2, 2,
                                                     kMovieWidth, kMovieHeight);

    auto button = [this](TControl* parent, const char* name, const char* caption, int left, int top) {
        auto* b = Place<TkivButton>(this, parent, name, left, top, 80, 25);
        b->SetCaption(caption);
        return b;
    };
    kivButton1 = button(kivTabSheet1, "kivButton1", "导入片头", 376, 130);
    kivButton2 = button(kivTabSheet1, "kivButton2", "播放", 376, 162);
    kivButton3 = button(kivTabSheet1, "kivButton3", "暂停", 460, 162);
    kivButton4 = button(kivTabSheet1, "kivButton4", "停止", 376, 194);
    kivButton5 = button(kivTabSheet1, "kivButton5", "清除片头", 460, 130);
    kivButton6 = button(kivTabSheet1, "kivButton6", "退出", 460, 270);

    kivGroupBox2 =
        Place<TkivGroupBox>(this, kivTabSheet2, "kivGroupBox2", 8, 8, kMovieWidth + 4, kMovieHeight + 4);
    kivGroupBox2->SetEnabled(false);
    ShockwaveFlash1 =
        Place<TShockwaveFlash>(this, kivGroupBox2, "ShockwaveFlash1", 2, 2, kMovieWidth, kMovieHeight);
    ShockwaveFlash2 =
        Place<TShockwaveFlash>(this, kivGroupBox2, "ShockwaveFlash2", 2, 2, kMovieWidth, kMovieHeight);
    ShockwaveFlash1->SetVisible(false);

    kivButton7 = button(kivTabSheet2, "kivButton7", "导入片尾", 376, 16);
    kivButton8 = button(kivTabSheet2, "kivButton8", "清除片尾", 460, 16);
    kivButton9 = button(kivTabSheet2, "kivButton9", "播放", 376, 62);
    kivButton10 = button(kivTabSheet2, "kivButton10", "暂停", 460, 62);
    kivButton11 = button(kivTabSheet2, "kivButton11", "停止", 376, 94);
    kivButton13 = button(kivTabSheet2, "kivButton13", "修改内容", 376, 140);
    kivButton12 = button(kivTabSheet2, "kivButton12", "退出", 460, 270);

    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };
    kivButton3->OnClick = [this](TObject* Sender) { kivButton3Click(Sender); };
    kivButton4->OnClick = [this](TObject* Sender) { kivButton4Click(Sender); };
    kivButton5->OnClick = [this](TObject* Sender) { kivButton5Click(Sender); };
    kivButton6->OnClick = [this](TObject* Sender) { kivButton6Click(Sender); };
    kivButton7->OnClick = [this](TObject* Sender) { kivButton7Click(Sender); };
    kivButton8->OnClick = [this](TObject* Sender) { kivButton8Click(Sender); };
    kivButton9->OnClick = [this](TObject* Sender) { kivButton9Click(Sender); };
    kivButton10->OnClick = [this](TObject* Sender) { kivButton10Click(Sender); };
    kivButton11->OnClick = [this](TObject* Sender) { kivButton11Click(Sender); };
    kivButton12->OnClick = [this](TObject* Sender) { kivButton12Click(Sender); };
    kivButton13->OnClick = [this](TObject* Sender) { kivButton13Click(Sender); };

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->SetFilter(app::kOpeningFilter);
    OpenDialog1->SetOptions(ofFileMustExist);
    OpenDialog2 = new TOpenDialog(this);
    OpenDialog2->SetName("OpenDialog2");
    OpenDialog2->SetFilter(app::kEndingFilter);
    OpenDialog2->SetOptions(ofFileMustExist);
    OpenDialog1->SetInitialDir(shell::ExistingUserDir("VIDEOS").string());
    OpenDialog2->SetInitialDir((core::ProgramDir() / "试用片尾").string());

    Timer1 = ui::MakeTimer(this, "Timer1", 1);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
}

TForm11::~TForm11()
{
    if (Form11 == this) Form11 = nullptr;
}

// --- shared -------------------------------------------------------------------------

void TForm11::Connect(app::TitlesView view) { main_.emplace(std::move(view)); }

void TForm11::Tell(const char* caption, const std::string& text)
{
    skin::Tell(*kivMessageDialog1, caption, text);
}

bool TForm11::ValidEndingLoaded() const { return EndingValidation == app::kEndingValidation; }

int TForm11::EndingStillIndex() const { return ending_ ? static_cast<int>(ending_->StillFrameIndex()) : 0; }

void TForm11::ShowPlaceholder()
{
    ShockwaveFlash2->SetVisible(true);
    ShockwaveFlash1->SetVisible(false);
    ShockwaveFlash1->Stop();
}

void TForm11::ShowEndingStill()
{
    ShockwaveFlash2->SetVisible(false);
    ShockwaveFlash1->SetVisible(true);
    ShockwaveFlash1->SetFrameNum(EndingStillIndex());
    ShockwaveFlash1->Stop();
}

void TForm11::LoadOtherEndingCopy()
{
    TitleEndingMovie = TitleEndingMovie == 1 ? 2 : 1;
    ShockwaveFlash1->SetMovie(app::EndingMovieCopy(main_->work_path(), TitleEndingMovie).string());
}

void TForm11::StopAll()
{
    Timer1->SetEnabled(false);
    WindowsMediaPlayer1->controls().stop();
    if (main_) main_->opening_player.controls().stop();
    ShockwaveFlash1->Stop();
    ShockwaveFlash2->Stop();
}

void TForm11::FormShow(TObject*)
{
    SetBounds(Left(), Top(), kWidth, kHeight);
    TitleEndingMovie = 1;
    if (main_) ShockwaveFlash2->SetMovie((main_->work_path() / "pwwjj" / "wu_pwwj.swf").string());
    if (!ValidEndingLoaded()) {
        ShowPlaceholder();
        return;
    }
    ShowEndingStill();
}

void TForm11::kivPageControl1Click(TObject*)
{
    if (kivPageControl1->ActivePageIndex() != 0)
        WindowsMediaPlayer1->controls().pause();
    else
        ShockwaveFlash1->Stop();
}

// --- the opening title ----------------------------------------------------------------

bool TForm11::HasOpening() const { return main_ && !main_->opening_file.empty(); }

void TForm11::SetOpeningButtons(bool enabled)
{
    // The import button too: a second import must not start inside the wait.
    for (TkivButton* button : {kivButton1, kivButton5, kivButton2, kivButton3, kivButton4, kivButton6})
        button->SetEnabled(enabled);
}

std::optional<int> TForm11::MeasureOpening(const std::string& file, bool keep_preview_playing)
{
    measuring_ = true;
    SetOpeningButtons(false);
    struct Done {
        TForm11& form;
        ~Done()
        {
            form.SetOpeningButtons(true);
            form.measuring_ = false;
        }
    } done{*this};

    // A file the player cannot open reports an error; one that never
    // reports anything must not hold the dialog: both waits are bounded.
    const auto known = [](const TWindowsMediaPlayer& player) {
        return player.currentMedia().duration() != 0 || player.HasError();
    };
    TWindowsMediaPlayer& preview = *WindowsMediaPlayer1;
    preview.SetURL(file);
    App().PumpUntil([&] { return known(preview); }, MeasureWaitMs);
    if (!keep_preview_playing) preview.controls().stop();
    if (!(preview.currentMedia().duration() > 0)) return std::nullopt;

    TWindowsMediaPlayer& opening = main_->opening_player;
    opening.SetURL(file);
    opening.settings().SetMute(true);
    App().PumpUntil([&] { return known(opening); }, MeasureWaitMs);
    const double seconds = opening.currentMedia().duration();
    opening.controls().stop();
    opening.settings().SetMute(false);
    if (!(seconds > 0)) return std::nullopt;
    return static_cast<int>(MclSecondsToFrames(seconds));
}

void TForm11::RestoreOpeningPlayers()
{
    const std::string& file = main_->opening_file;
    for (TWindowsMediaPlayer* player : {WindowsMediaPlayer1, &main_->opening_player}) {
        player->SetURL(file);
        player->controls().stop();
        player->settings().SetMute(false);
    }
}

void TForm11::kivButton1Click(TObject*)
{
    if (measuring_ || !main_) return;
    OpenDialog1->SetFileName("");
    if (!OpenDialog1->Execute()) return;
    const std::string file = OpenDialog1->FileName();
    Timer1->SetEnabled(false);

    const std::optional<int> frames = MeasureOpening(file, true);
    if (!frames) {
        std::cerr << "castora: opening title " << file << " reports no length" << std::endl;
        RestoreOpeningPlayers();
        if (!App().Terminated()) Tell(app::kOpeningImportCaption, app::kOpeningUnplayable);
        return;
    }
    main_->opening_file = file;
    main_->opening_frames = *frames;
    Timer1->SetEnabled(true);
    Label2->SetCaption(app::ListCaption(std::filesystem::u8path(file)));
    Label5->SetCaption("00:00");
}

void TForm11::kivButton2Click(TObject*)
{
    if (!HasOpening() || measuring_) return;
    WindowsMediaPlayer1->controls().play();
    Timer1->SetEnabled(true);
}

void TForm11::kivButton3Click(TObject*)
{
    if (!HasOpening() || measuring_) return;
    WindowsMediaPlayer1->controls().pause();
    Timer1->SetEnabled(false);
}

void TForm11::kivButton4Click(TObject*)
{
    if (!HasOpening() || measuring_) return;
    WindowsMediaPlayer1->controls().stop();
    Label5->SetCaption("00:00");
    Timer1->SetEnabled(false);
}

void TForm11::kivButton5Click(TObject*)
{
    if (measuring_) return;
    Timer1->SetEnabled(false);
    WindowsMediaPlayer1->controls().stop();
    Label2->SetCaption("");
    Label4->SetCaption("00:00");
    Label5->SetCaption("00:00");
    if (!main_) return;
    main_->opening_file.clear();
    main_->opening_frames = 0;
    main_->show_opening_length("00:00:00");
}

void TForm11::Timer1Timer(TObject*)
{
    TWindowsMediaPlayer& player = *WindowsMediaPlayer1;
    Label4->SetCaption(player.currentMedia().durationString());
    Label5->SetCaption(player.controls().currentPositionString());
    if (main_) main_->show_opening_length("00:" + Label4->Caption());
    // At its end the player stands on its length, so the texts meet; a
    // player that stopped or paused any other way (the page change) ends
    // the watch too, and "播放" starts it again.
    const int state = player.playState();
    if (Label5->Caption() == Label4->Caption() || state == wmppsMediaEnded || state == wmppsStopped ||
        state == wmppsPaused || player.HasError())
        Timer1->SetEnabled(false);
}

void TForm11::kivButton6Click(TObject*)
{
    StopAll();
    Close();
}

void TForm11::FormCloseQuery(TObject*, bool& CanClose)
{
    // The import's wait runs inside this form's modal loop: it ends first.
    if (measuring_) {
        CanClose = false;
        return;
    }
    CanClose = true;
    if (!main_) {
        StopAll();
        return;
    }
    app::TitlesView& main = *main_;
    if (!main.opening_file.empty()) {
        // The main window's opening player is left holding the opening
        // title, loaded and unmuted, for the preview.
        const std::optional<int> frames = MeasureOpening(main.opening_file, false);
        if (frames) {
            main.opening_frames = *frames;
        } else {
            std::cerr << "castora: opening title " << main.opening_file << " no longer reads" << std::endl;
            kivButton5Click(nullptr);
            RestoreOpeningPlayers();
            if (!App().Terminated()) Tell(app::kTitlesCaption, app::kOpeningGone);
        }
    }
    if (!main.ending_file.empty()) {
        main.ending_movie = main.ending_movie == 1 ? 2 : 1;
        main.ending_player.SetMovie(app::EndingMovieCopy(main.work_path(), main.ending_movie).string());
        main.ending_player.Play();
    }
    StopAll();
}

// --- the ending title -----------------------------------------------------------------

void TForm11::kivButton7Click(TObject*)
{
    if (!main_) return;
    OpenDialog2->SetFileName("");
    if (!OpenDialog2->Execute()) return;
    const std::string file = OpenDialog2->FileName();
    app::TitlesView& main = *main_;

    // An invalid file changes nothing: an ending title in force stays in
    // force, and the dialog goes on showing it.
    // A work folder that cannot be written changes nothing either, and is
    // said so.
    app::StagedEnding staged = app::StageEnding(std::filesystem::u8path(file), main.work_path());
    const bool written = !staged.WriteFailed() && (!staged.Valid() || staged.PutInPlace());
    if (!written || !staged.Valid()) {
        std::cerr << "castora: ending template " << file << " "
                  << (written ? "refused: " + staged.Detail()
                              : std::string("not imported: the work folder cannot be written"))
                  << std::endl;
        if (ValidEndingLoaded())
            ShowEndingStill();
        else
            ShowPlaceholder();
        Tell(app::kEndingImportCaption, written ? app::kEndingInvalid : app::kEndingNotWritten);
        return;
    }
    const app::EndingTrailerValues values = staged.Values();
    const app::EndingTemplate ending = staged.Ending();
    EndingValidation = values.validation;
    EndingPlayFrame = values.play_frame;
    EndingStillFrame = values.still_frame;
    ending_ = ending;

    LoadOtherEndingCopy();
    ShockwaveFlash1->SetFrameNum(static_cast<int>(ending.play_frame));
    ShockwaveFlash1->Play();
    ShockwaveFlash1->SetVisible(true);
    ShockwaveFlash2->SetVisible(false);

    main.ending_file = file;
    main.show_ending_length(app::FramesToTimeText(ShockwaveFlash1->TotalFrames()).HhMmSs());
}

void TForm11::kivButton8Click(TObject*)
{
    EndingValidation.clear();
    ending_.reset();
    ShowPlaceholder();
    if (!main_) return;
    main_->ending_file.clear();
    main_->show_ending_length("00:00:00");
}

void TForm11::kivButton9Click(TObject*)
{
    if (!ValidEndingLoaded()) return ShowPlaceholder();
    ShockwaveFlash1->SetVisible(true);
    ShockwaveFlash1->Play();
    ShockwaveFlash2->SetVisible(false);
}

void TForm11::kivButton10Click(TObject*)
{
    if (!ValidEndingLoaded()) return ShowPlaceholder();
    ShockwaveFlash1->SetVisible(true);
    ShockwaveFlash1->Stop();
}

void TForm11::kivButton11Click(TObject*)
{
    if (!ValidEndingLoaded()) return ShowPlaceholder();
    ShowEndingStill();
}

void TForm11::kivButton12Click(TObject* Sender) { kivButton6Click(Sender); }

void TForm11::kivButton13Click(TObject*)
{
    if (!main_ || !ValidEndingLoaded()) {
        Tell(app::kEditTextsCaption, app::kNoEndingTemplate);
        return;
    }
    ShockwaveFlash1->SetFrameNum(0);
    ShockwaveFlash1->Stop();
    const std::filesystem::path work = main_->work_path();
    // A text file gone from the work folder opens as an empty text; closing
    // the editor writes it anew.
    Form12->kivMemo1->SetText(app::ReadEndingText(work, 1).value_or(""));
    Form12->kivMemo2->SetText(app::ReadEndingText(work, 2).value_or(""));
    Form12->ShowModal();
}

void TForm11::ReplayEndingAfterEdit()
{
    if (!main_ || !ValidEndingLoaded()) return;
    LoadOtherEndingCopy();
    ShockwaveFlash1->SetFrameNum(EndingStillIndex());
    ShockwaveFlash1->Play();
}
