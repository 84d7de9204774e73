#include "production/completion_form.h"

#include "platform/ui/label.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"

TForm10* Form10 = nullptr;

using ui::Place;

TForm10::TForm10(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form10");
    SetCaption("制作完成");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(478, 204);
    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 478, 204);
    kivForm1->SetCaption("制作完成");
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});
    Label1 = Place<TLabel>(this, kivForm1, "Label1", 40, 70, 400, 20);
    Label1->SetCaption("制作完成,点[确定]按钮返回.");
    kivButton1 = Place<TkivButton>(this, kivForm1, "kivButton1", 194, 150, 90, 25);
    kivButton1->SetCaption("确定");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
}

TForm10::~TForm10()
{
    if (Form10 == this) Form10 = nullptr;
}

void TForm10::FormShow(TObject*) { SetBounds(Left(), Top(), 494, 214); }

void TForm10::kivButton1Click(TObject*) { Close(); }
