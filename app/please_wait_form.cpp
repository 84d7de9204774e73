#include "app/please_wait_form.h"

#include "platform/core/timer.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_form.h"
#include "skin/kiv_progress_bar.h"

namespace app {

TPleaseWaitForm::TPleaseWaitForm(TComponent* AOwner, const Layout& layout)
    : TForm(AOwner), width_(layout.width), height_(layout.height)
{
    SetName(layout.name);
    SetCaption(layout.caption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(Left(), Top(), width_, height_);

    kivForm1 = new TkivForm(this);
    kivForm1->SetName("kivForm1");
    kivForm1->SetParent(this);
    kivForm1->SetAlign(alClient);
    kivForm1->SetCaption(layout.caption);

    const TRect& bar = layout.progress;
    kivProgressBar1 = ui::Place<TkivProgressBar>(this, kivForm1, "kivProgressBar1", bar.Left, bar.Top,
                                                 bar.Right - bar.Left, bar.Bottom - bar.Top);

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetEnabled(false);
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
