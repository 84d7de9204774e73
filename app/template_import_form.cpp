#include "app/template_import_form.h"

#include <iostream>
#include <string_view>
#include <utility>

#include "app/template_format.h"
#include "app/template_import.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/control.h"
#include "platform/ui/form_building.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/scrollbox.h"
#include "platform/ui/strings.h"
#include "skin/kiv_button.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"

TForm14* Form14 = nullptr;

namespace {

void ShowMessage(TkivMessageDialog& dialog, const char* text)
{
    skin::Tell(dialog, app::kTemplateImportCaption, text);
}

void SetRunButtons(const app::RunButtons& buttons, bool enabled)
{
    for (TkivButton* button : buttons) button->SetEnabled(enabled);
}

// A pane at the frame's top-left corner, sized by its content.
void PlacePane(TScrollBox& pane)
{
    pane.SetBounds(0, 0, pane.Width(), pane.Height());
    pane.SetAutoSize(true);
    pane.SetBorderStyle(bsNone);
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

void TForm14::Connect(app::TemplateImportView view) { main_.emplace(std::move(view)); }

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
    // A form built without the main window has nothing to import into.
    if (!main_) return;
    const app::TemplateImportView& main = *main_;
    const std::string file = main.chosen_file();
    if (file == main.template_file) {
        Hide();
        ShowMessage(main.imported_message, app::kTemplateAlreadyImported);
        return;
    }

    main.lock_editing(true);
    SetRunButtons(main.run_buttons, false);
    // The controls come back on every way out, unless a preview runs and
    // keeps them.
    struct Unlock {
        const app::TemplateImportView& main;
        bool keep = false;
        ~Unlock()
        {
            if (keep) return;
            main.lock_editing(false);
            SetRunButtons(main.run_buttons, true);
        }
    } unlock{main};

    main.tv_system = main.tv_system == "PAL" ? "PAL" : "NTSC";

    // The whole template is checked, and its movie copies written aside,
    // before anything of the project changes.
    const std::filesystem::path work = main.work_folder();
    app::StagedTemplate staged = app::StageTemplate(file, work);
    // A work folder that cannot be written is said so, and changes nothing:
    // the template in force, if any, stays.
    if (staged.WriteFailed() || (staged.Valid() && !staged.PutInPlace())) {
        std::cerr << "castora: template " << file << " not imported: the work folder cannot be written"
                  << std::endl;
        Hide();
        ShowMessage(main.invalid_message, app::kTemplateNotWritten);
        return;
    }
    if (!staged.Valid()) {
        std::cerr << "castora: template " << file << " refused: " << staged.Detail() << std::endl;
        const std::string_view constant = app::template_format::kValidityConstant;
        if (!main.template_file.empty())
            main.template_state = std::string(constant);
        else
            main.template_state = staged.ValidityRead() == constant ? std::string() : staged.ValidityRead();
        Hide();
        ShowMessage(main.invalid_message, app::kTemplateInvalid);
        return;
    }

    for (TStrings* rows : {&main.segment_first_values, &main.segment_end_frames, &main.segment_photo_counts})
        rows->Clear();
    for (const app::TemplateSegment& segment : staged.Description().segments) {
        main.segment_first_values.Add(std::to_string(segment.first_value));
        main.segment_end_frames.Add(std::to_string(segment.end_frame));
        main.segment_photo_counts.Add(std::to_string(segment.photo_count));
    }
    main.template_file = file;
    main.template_state = staged.Description().validity;

    main.fill_photo_slots();

    const bool photos = main.photo_rows.Count() > 0;
    const int width = main.preview_frame.Width(), height = main.preview_frame.Height();
    main.template_video.SetBounds(0, 0, width, height);
    main.template_video.SetURL(file);
    if (photos)
        main.template_video.controls().stop();
    else
        main.template_video.controls().play();
    PlacePane(main.template_pane);
    PlacePane(main.effect_pane);
    main.effect_movie.SetBounds(0, 0, width, height);

    // The control is always given the copy it does not show now.
    const int copy = main.template_movie != "1" ? 1 : 2;
    main.template_movie = std::to_string(copy);
    main.effect_movie.SetMovie(app::TemplateMovieCopy(work, copy).string());
    main.effect_movie.Stop();

    if (photos) {
        main.effect_movie.SetFrameNum(main.effect_movie.TotalFrames());
        main.lock_editing(true);
        for (TScrollBox* pane :
             {&main.browser_pane, &main.intro_pane, &main.opening_pane, &main.template_pane})
            pane->SetVisible(false);
        main.effect_pane.SetVisible(true);
        main.effect_pane.BringToFront();
        main.show_album_length();
        unlock.keep = true;
        main.play_preview();
        // Play took the controls over; should it not have started, they come back.
        unlock.keep = main.preview_running();
        return;
    }
    unlock.keep = false;
    for (TScrollBox* pane : {&main.browser_pane, &main.intro_pane, &main.effect_pane, &main.opening_pane})
        pane->SetVisible(false);
    main.template_pane.SetVisible(true);
    main.template_pane.BringToFront();
}
