#include "app/form6.h"

#include "app/form1.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "skin/kiv_form.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_progress_bar.h"

TForm6* Form6 = nullptr;

namespace {
constexpr const char* kCaption = "正在删除,请稍后...";
constexpr int kWidth = 516;
constexpr int kHeight = 194;
}  // namespace

TForm6::TForm6(TComponent* AOwner) : TForm(AOwner), DeletePicture([](const std::filesystem::path& path) {
    return core::DeleteFile(path);
})
{
    SetName("Form6");
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
    kivProgressBar1->SetBounds(40, 88, 432, 20);

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetEnabled(false);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
}

TForm6::~TForm6()
{
    if (Form6 == this) Form6 = nullptr;
}

void TForm6::FormShow(TObject*)
{
    SetBounds(Left(), Top(), kWidth, kHeight);
    work_pending_ = true;
}

void TForm6::FormActivate(TObject*)
{
    if (!work_pending_) return;
    work_pending_ = false;
    if (Form1) {
        kivProgressBar1->SetMax(Form1->kivListView1->Items().Count());
        kivProgressBar1->SetMin(0);
        kivProgressBar1->SetPosition(0);
        const std::filesystem::path folder = Form1->WorkPath() / "zpyjj";
        for (const std::filesystem::path& picture : core::FindFiles(folder, "*.jpg")) {
            DeletePicture(picture);
            kivProgressBar1->SetPosition(kivProgressBar1->Position() + 1);
        }
    }
    Timer1->SetEnabled(true);
}

void TForm6::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    Close();
}
