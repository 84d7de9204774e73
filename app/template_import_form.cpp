#include "app/template_import_form.h"

#include <iostream>

#include "app/main_window.h"
#include "app/preview_engine.h"
#include "app/template_format.h"
#include "app/template_import.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/form_building.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"

TForm14* Form14 = nullptr;

namespace {

void ShowMessage(TkivMessageDialog* dialog, const char* text)
{
    skin::Tell(*dialog, app::kTemplateImportCaption, text);
}

void SetRunButtons(TForm1& f, bool enabled)
{
    for (TkivButton* button : f.RunButtons()) button->SetEnabled(enabled);
}

// A pane at the frame's top-left corner, sized by its content.
void PlacePane(TScrollBox* pane)
{
    pane->SetBounds(0, 0, pane->Width(), pane->Height());
    pane->SetAutoSize(true);
    pane->SetBorderStyle(bsNone);
}

}  // namespace

TForm14::TForm14(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form14");
    SetCaption("正在导入模板,请稍后...");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(544, 231);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(32, 56, 480, 20);
    Label1->SetCaption("正在导入模板,可能会花一点时间,请耐心等待...");

    kivProgressBar1 = new TkivProgressBar(this);
    kivProgressBar1->SetName("kivProgressBar1");
    kivProgressBar1->SetParent(this);
    kivProgressBar1->SetBounds(32, 104, 480, 24);
    kivProgressBar1->SetShowCaption(true);

    Timer1 = ui::MakeTimer(this, "Timer1", 1);
    Timer2 = ui::MakeTimer(this, "Timer2", 1);
    Timer3 = ui::MakeTimer(this, "Timer3", 1);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
    Timer2->OnTimer = [this](TObject* Sender) { Timer2Timer(Sender); };
    Timer3->OnTimer = [this](TObject* Sender) { Timer3Timer(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
}

TForm14::~TForm14()
{
    if (Form14 == this) Form14 = nullptr;
}

void TForm14::FormShow(TObject*)
{
    SetBounds(Left(), Top(), 544, 231);
    import_pending_ = true;
}

void TForm14::FormActivate(TObject*)
{
    // Activated again (after a message box, say), the import must not run twice.
    if (!import_pending_) return;
    import_pending_ = false;
    kivProgressBar1->SetMax(2);
    kivProgressBar1->SetMin(0);
    kivProgressBar1->SetPosition(0);
    Timer1->SetEnabled(true);
    Timer2->SetEnabled(true);
}

void TForm14::Timer2Timer(TObject*)
{
    if (kivProgressBar1->Position() == kivProgressBar1->Max()) kivProgressBar1->SetPosition(0);
    kivProgressBar1->SetPosition(kivProgressBar1->Position() + 1);
}

void TForm14::Timer3Timer(TObject*)
{
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
    Timer3->SetEnabled(false);
    // A form hidden for a message has ended its modal loop already; closing
    // it again would post a hide that meets the next showing.
    if (Visible()) Close();
}

void TForm14::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    // Every way out of the import, a failure included, closes the form.
    struct CloseLater {
        TTimer* timer;
        ~CloseLater() { timer->SetEnabled(true); }
    } close_later{Timer3};
    Import();
}

void TForm14::Import()
{
    TForm1& f = *Form1;
    const std::string file = f.OpenDialog3->FileName();
    if (file == f.TemplateFile) {
        Hide();
        ShowMessage(f.kivMessageDialog3, app::kTemplateAlreadyImported);
        return;
    }

    f.LockTemplateImportControls();
    SetRunButtons(f, false);
    // The controls come back on every way out, unless a preview runs and
    // keeps them.
    struct Unlock {
        TForm1& f;
        bool keep = false;
        ~Unlock()
        {
            if (keep) return;
            f.UnlockTemplateImportControls();
            SetRunButtons(f, true);
        }
    } unlock{f};

    f.TvSystem = f.TvSystem == "PAL" ? "PAL" : "NTSC";

    // The whole template is checked, and its movie copies written aside,
    // before anything of the project changes.
    app::StagedTemplate staged = app::StageTemplate(file, f.WorkPath());
    // A work folder that cannot be written is said so, and changes nothing:
    // the template in force, if any, stays.
    if (staged.WriteFailed() || (staged.Valid() && !staged.PutInPlace())) {
        std::cerr << "castora: template " << file << " not imported: the work folder cannot be written"
                  << std::endl;
        Hide();
        ShowMessage(f.kivMessageDialog2, app::kTemplateNotWritten);
        return;
    }
    if (!staged.Valid()) {
        std::cerr << "castora: template " << file << " refused: " << staged.Detail() << std::endl;
        const std::string_view constant = app::template_format::kValidityConstant;
        if (!f.TemplateFile.empty())
            f.TemplateState = std::string(constant);
        else
            f.TemplateState = staged.ValidityRead() == constant ? std::string() : staged.ValidityRead();
        Hide();
        ShowMessage(f.kivMessageDialog2, app::kTemplateInvalid);
        return;
    }

    for (TListBox* list : {f.ListBox1, f.ListBox2, f.ListBox3}) list->Items().Clear();
    for (const app::TemplateSegment& segment : staged.Description().segments) {
        f.ListBox1->Items().Add(std::to_string(segment.first_value));
        f.ListBox2->Items().Add(std::to_string(segment.end_frame));
        f.ListBox3->Items().Add(std::to_string(segment.photo_count));
    }
    f.TemplateFile = file;
    f.TemplateState = staged.Description().validity;

    f.FillPhotoSlots();

    const bool photos = f.kivListView1->Items().Count() > 0;
    const int width = f.kivGroupBox2->Width(), height = f.kivGroupBox2->Height();
    f.WindowsMediaPlayer1->SetBounds(0, 0, width, height);
    f.WindowsMediaPlayer1->SetURL(file);
    if (photos)
        f.WindowsMediaPlayer1->controls().stop();
    else
        f.WindowsMediaPlayer1->controls().play();
    PlacePane(f.ScrollBox9);
    PlacePane(f.ScrollBox10);
    f.xiao_guo_Flash->SetBounds(0, 0, width, height);

    // The control is always given the copy it does not show now.
    const int copy = f.TemplateMovie != "1" ? 1 : 2;
    f.TemplateMovie = std::to_string(copy);
    f.xiao_guo_Flash->SetMovie(app::TemplateMovieCopy(f.WorkPath(), copy).string());
    f.xiao_guo_Flash->Stop();

    if (photos) {
        f.xiao_guo_Flash->SetFrameNum(f.xiao_guo_Flash->TotalFrames());
        f.LockTemplateImportControls();
        for (TScrollBox* pane : {f.ScrollBox1, f.ScrollBox13, f.ScrollBox11, f.ScrollBox9})
            pane->SetVisible(false);
        f.ScrollBox10->SetVisible(true);
        f.ScrollBox10->BringToFront();
        f.ProjectLengthText();
        unlock.keep = true;
        f.kivButton1Click(nullptr);
        // Play took the controls over; should it not have started, they come back.
        unlock.keep = f.Preview().Stage() != app::PreviewStage::kIdle;
        return;
    }
    unlock.keep = false;
    for (TScrollBox* pane : {f.ScrollBox1, f.ScrollBox13, f.ScrollBox10, f.ScrollBox11})
        pane->SetVisible(false);
    f.ScrollBox9->SetVisible(true);
    f.ScrollBox9->BringToFront();
}
