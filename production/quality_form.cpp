#include "production/quality_form.h"

#include "platform/ui/edit.h"
#include "platform/ui/form_building.h"
#include "production/production_settings.h"
#include "skin/kiv_form.h"
#include "skin/kiv_radio_button.h"

TForm17* Form17 = nullptr;

using ui::Place;

TForm17::TForm17(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form17");
    SetCaption("画面质量");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(427, 177);
    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 427, 177);
    kivForm1->SetCaption("画面质量");
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});

    auto radio = [this](const char* name, const char* caption, int top) {
        auto* button = Place<TkivRadioButton>(this, kivForm1, name, 40, top, 340, 22);
        button->SetCaption(caption);
        return button;
    };
    kivRadioButton1 = radio("kivRadioButton1", "标准画面", 48);
    kivRadioButton2 = radio("kivRadioButton2", "清晰画面", 88);
    kivRadioButton3 = radio("kivRadioButton3", "高清晰画面", 128);
    kivRadioButton1->SetChecked(true);

    Edit1 = Place<TEdit>(this, kivForm1, "Edit1", 300, 150, 100, 21);
    Edit1->SetText(std::string(production::kQualityStandard));
    Edit1->SetVisible(false);

    kivRadioButton1->OnClick = [this](TObject* Sender) { kivRadioButton1Click(Sender); };
    kivRadioButton2->OnClick = [this](TObject* Sender) { kivRadioButton2Click(Sender); };
    kivRadioButton3->OnClick = [this](TObject* Sender) { kivRadioButton3Click(Sender); };
}

TForm17::~TForm17()
{
    if (Form17 == this) Form17 = nullptr;
}

void TForm17::kivRadioButton1Click(TObject*) { Edit1->SetText(std::string(production::kQualityStandard)); }
void TForm17::kivRadioButton2Click(TObject*) { Edit1->SetText(std::string(production::kQualityHigh)); }
void TForm17::kivRadioButton3Click(TObject*) { Edit1->SetText(std::string(production::kQualityHighest)); }
