#include "app/please_wait_form.h"

#include "platform/core/timer.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_form_panel.h"
#include "skin/kiv_progress_bar.h"

namespace app {

TPleaseWaitForm::TPleaseWaitForm(TComponent* AOwner, const Layout& layout)
    : TForm(AOwner), width_(layout.width), height_(layout.height)
{
    ui::SetUpDialogForm(*this, layout.name, layout.caption);
    SetBounds(Left(), Top(), width_, height_);
    kivForm1 = skin::AddFormPanel(*this, layout.caption);

    const TRect& bar = layout.progress;
    kivProgressBar1 = ui::Place<TkivProgressBar>(this, kivForm1, "kivProgressBar1", bar.Left, bar.Top,
                                                 bar.Right - bar.Left, bar.Bottom - bar.Top);

    Timer1 = ui::MakeTimer(this, "Timer1", 1000);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
}

void TPleaseWaitForm::FormShow(TObject*)
{
    SetBounds(Left(), Top(), width_, height_);
    work_pending_ = true;
}

void TPleaseWaitForm::FormActivate(TObject*)
{
    if (!work_pending_) return;
    work_pending_ = false;
    DoWork();
    Timer1->SetEnabled(true);
}

void TPleaseWaitForm::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    Close();
}

}  // namespace app
