#include "production/tv_system_form.h"

#include "platform/ui/form_building.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_radio_button.h"
#include "skin/kiv_tab_sheet.h"

TForm9* Form9 = nullptr;

using ui::Place;

TForm9::TForm9(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form9");
    SetCaption("电视制式");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(454, 286);
    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 454, 286);
    kivForm1->SetCaption("电视制式");
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});

    kivPageControl1 = Place<TkivPageControl>(this, kivForm1, "kivPageControl1", 12, 36, 430, 192);
    kivTabSheet1 = new TkivTabSheet(this);
    kivTabSheet1->SetName("kivTabSheet1");
    kivTabSheet1->SetPageControl(kivPageControl1);
    kivTabSheet1->SetCaption("电视制式");
    kivRadioButton1 = Place<TkivRadioButton>(this, kivTabSheet1, "kivRadioButton1", 40, 40, 300, 22);
    kivRadioButton1->SetCaption("PAL 电视制式");
    kivRadioButton2 = Place<TkivRadioButton>(this, kivTabSheet1, "kivRadioButton2", 40, 90, 300, 22);
    kivRadioButton2->SetCaption("NTSC电视制式");
    kivRadioButton1->SetChecked(true);

    kivButton1 = Place<TkivButton>(this, kivForm1, "kivButton1", 248, 244, 90, 25);
    kivButton1->SetCaption("确定");
    kivButton2 = Place<TkivButton>(this, kivForm1, "kivButton2", 350, 244, 90, 25);
    kivButton2->SetCaption("取消");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };
}

TForm9::~TForm9()
{
    if (Form9 == this) Form9 = nullptr;
}

void TForm9::FormShow(TObject*)
{
    SetBounds(Left(), Top(), 470, 296);
    // The radios show the system the project has now: a template import may
    // have changed it since the last opening.
    const std::string system = ReadTvSystem ? ReadTvSystem() : std::string();
    if (system == "PAL") kivRadioButton1->SetChecked(true);
    if (system == "NTSC") kivRadioButton2->SetChecked(true);
}

void TForm9::kivButton1Click(TObject*)
{
    if (WriteTvSystem) {
        if (kivRadioButton1->Checked()) WriteTvSystem("PAL");
        if (kivRadioButton2->Checked()) WriteTvSystem("NTSC");
    }
    Close();
}

void TForm9::kivButton2Click(TObject*) { Close(); }
