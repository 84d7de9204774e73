#include "app/form7.h"

#include "app/form1.h"
#include "app/photo_deletion.h"
#include "platform/core/timer.h"
#include "skin/kiv_form.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_progress_bar.h"

TForm7* Form7 = nullptr;

namespace {
constexpr const char* kCaption = "正在删除,请稍后...";
constexpr int kWidth = 512;
constexpr int kHeight = 195;
}  // namespace

TForm7::TForm7(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form7");
    SetCaption(kCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(Left(), Top(), kWidth, kHeight);

    kivForm1 = new TkivForm(this);
    kivForm1->SetName("kivForm1");
    kivForm1->SetParent(this);
    kivForm1->SetAlign(alClient);
    kivForm1->SetCaption(kCaption);
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});

    kivProgressBar1 = new TkivProgressBar(this);
    kivProgressBar1->SetName("kivProgressBar1");
    kivProgressBar1->SetParent(kivForm1);
    kivProgressBar1->SetBounds(40, 88, 428, 20);

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetEnabled(false);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
}

TForm7::~TForm7()
{
    if (Form7 == this) Form7 = nullptr;
}

void TForm7::FormShow(TObject*)
{
    SetBounds(Left(), Top(), kWidth, kHeight);
    outcome_ = app::PictureRemoval::kNone;
    work_pending_ = true;
}

void TForm7::FormActivate(TObject*)
{
    if (!work_pending_) return;
    work_pending_ = false;
    if (Form1) outcome_ = app::RemovePhotoRow(*Form1, Form1->DeleteIndex, *kivProgressBar1);
    Timer1->SetEnabled(true);
}

void TForm7::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    Close();
}
