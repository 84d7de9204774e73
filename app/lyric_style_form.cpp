#include "app/lyric_style_form.h"

#include <algorithm>

#include "app/lyrics_form.h"
#include "app/lyric_style.h"
#include "platform/ui/label.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_combo_box.h"
#include "skin/kiv_form.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_radio_button.h"
#include "skin/kiv_tab_sheet.h"
#include "skin/kiv_track_bar.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_form_panel.h"

TForm16* Form16 = nullptr;

namespace {

constexpr int kWidth = 263;
constexpr int kHeight = 509;

using ui::Place;

}  // namespace

TForm16::TForm16(TComponent* AOwner) : TForm(AOwner)
{
    ui::SetUpDialogForm(*this, "Form16", app::kLyricStyleCaption);
    SetBounds(Left(), Top(), kWidth, kHeight);
    kivForm1 = skin::AddFormPanel(*this, app::kLyricStyleCaption);

    int top = TkivForm::kCaptionHeight + 6;
    auto group = [this, &top](TkivPageControl*& control, TkivTabSheet*& sheet, const char* control_name,
                              const char* sheet_name, const char* caption, int height) {
        control = Place<TkivPageControl>(this, kivForm1, control_name, 8, top, 240, height);
        sheet = new TkivTabSheet(this);
        sheet->SetName(sheet_name);
        sheet->SetPageControl(control);
        sheet->SetCaption(caption);
        control->SetActivePage(sheet);
        top += height + 6;
    };
    group(kivPageControl1, kivTabSheet1, "kivPageControl1", "kivTabSheet1", "歌词位置", 100);
    group(kivPageControl2, kivTabSheet2, "kivPageControl2", "kivTabSheet2", "歌词颜色", 58);
    group(kivPageControl3, kivTabSheet3, "kivPageControl3", "kivTabSheet3", "歌词字体", 76);
    group(kivPageControl4, kivTabSheet4, "kivPageControl4", "kivTabSheet4", "歌词大小", 58);
    group(kivPageControl5, kivTabSheet5, "kivPageControl5", "kivTabSheet5", "歌词移动", 116);

    auto radio = [this](TControl* parent, const char* name, const char* caption, int left, int at) {
        auto* r = Place<TkivRadioButton>(this, parent, name, left, at, 100, 20);
        r->SetCaption(caption);
        return r;
    };
    kivRadioButton1 = radio(kivTabSheet1, "kivRadioButton1", "歌词居左", 16, 4);
    kivRadioButton2 = radio(kivTabSheet1, "kivRadioButton2", "歌词居中", 16, 26);
    kivRadioButton3 = radio(kivTabSheet1, "kivRadioButton3", "歌词居右", 16, 48);
    kivComboBox2 = Place<TkivComboBox>(this, kivTabSheet2, "kivComboBox2", 16, 8, 200, 22);
    kivRadioButton6 = radio(kivTabSheet3, "kivRadioButton6", "标准", 16, 4);
    kivRadioButton7 = radio(kivTabSheet3, "kivRadioButton7", "粗体", 16, 28);
    kivCheckBox1 = Place<TkivCheckBox>(this, kivTabSheet3, "kivCheckBox1", 124, 4, 100, 20);
    kivCheckBox1->SetCaption("斜体");
    kivCheckBox2 = Place<TkivCheckBox>(this, kivTabSheet3, "kivCheckBox2", 124, 28, 100, 20);
    kivCheckBox2->SetCaption("下划线");
    kivComboBox1 = Place<TkivComboBox>(this, kivTabSheet4, "kivComboBox1", 16, 8, 200, 22);

    Label1 = Place<TLabel>(this, kivTabSheet5, "Label1", 16, 2, 100, 16);
    Label1->SetCaption("左右移动");
    kivTrackBar1 = Place<TkivTrackBar>(this, kivTabSheet5, "kivTrackBar1", 12, 18, 212, 26);
    kivTrackBar1->SetMin(1);
    kivTrackBar1->SetMax(app::kLyricXMax);
    Label2 = Place<TLabel>(this, kivTabSheet5, "Label2", 16, 46, 100, 16);
    Label2->SetCaption("上下移动");
    kivTrackBar2 = Place<TkivTrackBar>(this, kivTabSheet5, "kivTrackBar2", 12, 62, 212, 26);
    kivTrackBar2->SetMin(1);
    kivTrackBar2->SetMax(app::kLyricYMax);
    // The position is shown, not changed.
    kivTabSheet5->SetEnabled(false);

    kivRadioButton1->OnClick = [this](TObject* Sender) { kivRadioButton1Click(Sender); };
    kivRadioButton2->OnClick = [this](TObject* Sender) { kivRadioButton2Click(Sender); };
    kivRadioButton3->OnClick = [this](TObject* Sender) { kivRadioButton3Click(Sender); };
    kivComboBox2->OnChange = [this](TObject* Sender) { kivComboBox2Change(Sender); };
    kivRadioButton6->OnClick = [this](TObject* Sender) { kivRadioButton6Click(Sender); };
    kivRadioButton7->OnClick = [this](TObject* Sender) { kivRadioButton7Click(Sender); };
    kivCheckBox1->OnClick = [this](TObject* Sender) { kivCheckBox1Click(Sender); };
    kivCheckBox2->OnClick = [this](TObject* Sender) { kivCheckBox2Click(Sender); };
    kivComboBox1->OnChange = [this](TObject* Sender) { kivComboBox1Change(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

TForm16::~TForm16()
{
    if (Form16 == this) Form16 = nullptr;
}

void TForm16::FormShow(TObject*) { SetBounds(Left(), Top(), kWidth, kHeight); }

void TForm16::FillLists()
{
    TStrings& sizes = kivComboBox1->Items();
    sizes.Clear();
    for (const std::string& size : app::LyricSizeEntries()) sizes.Add(size);
    TStrings& colours = kivComboBox2->Items();
    colours.Clear();
    for (const std::string& name : app::LyricColourNames()) colours.Add(name);
}

void TForm16::LoadStyle(const production::LyricStyle& style)
{
    // Checking a radio or a box runs its handler, which stores and sends
    // the value already held.
    TkivRadioButton* aligns[] = {kivRadioButton1, kivRadioButton2, kivRadioButton3};
    aligns[app::LyricAlignIndex(style.align)]->SetChecked(true);
    kivComboBox2->SetItemIndex(app::LyricColourIndex(style.colour));
    (style.bold ? kivRadioButton7 : kivRadioButton6)->SetChecked(true);
    kivCheckBox1->SetChecked(style.italic);
    kivCheckBox2->SetChecked(style.underline);
    kivComboBox1->SetItemIndex(app::LyricSizeIndex(style.size));
    kivTrackBar1->SetPosition(std::clamp(style.x, 1, app::kLyricXMax));
    kivTrackBar2->SetPosition(std::clamp(style.y, 1, app::kLyricYMax));
}

void TForm16::Apply(const char* variable, const std::function<void(production::LyricStyle&)>& change)
{
    production::LyricStyle style = main_ ? main_->style : production::LyricStyle{};
    change(style);
    if (main_) main_->style = style;
    if (!Form15) return;
    for (const auto& [name, text] : production::LyricStyleVariables(style))
        if (name == variable) Form15->SetMovieVariable(variable, text);
}

void TForm16::kivRadioButton1Click(TObject*)
{
    if (kivRadioButton1->Checked())
        Apply(production::kLyricAlignVariable,
              [](auto& style) { style.align = production::LyricAlign::kLeft; });
}

void TForm16::kivRadioButton2Click(TObject*)
{
    if (kivRadioButton2->Checked())
        Apply(production::kLyricAlignVariable,
              [](auto& style) { style.align = production::LyricAlign::kCenter; });
}

void TForm16::kivRadioButton3Click(TObject*)
{
    if (kivRadioButton3->Checked())
        Apply(production::kLyricAlignVariable,
              [](auto& style) { style.align = production::LyricAlign::kRight; });
}

void TForm16::kivComboBox2Change(TObject*)
{
    const int index = kivComboBox2->ItemIndex();
    if (index < 0 || index >= static_cast<int>(app::kLyricColours.size())) return;
    const std::uint32_t colour = app::kLyricColours[static_cast<size_t>(index)].value;
    Apply(production::kLyricColorVariable, [colour](auto& style) { style.colour = colour; });
}

void TForm16::kivRadioButton6Click(TObject*)
{
    if (kivRadioButton6->Checked())
        Apply(production::kLyricBoldVariable, [](auto& style) { style.bold = false; });
}

void TForm16::kivRadioButton7Click(TObject*)
{
    if (kivRadioButton7->Checked())
        Apply(production::kLyricBoldVariable, [](auto& style) { style.bold = true; });
}

void TForm16::kivCheckBox1Click(TObject*)
{
    const bool on = kivCheckBox1->Checked();
    Apply(production::kLyricItalicVariable, [on](auto& style) { style.italic = on; });
}

void TForm16::kivCheckBox2Click(TObject*)
{
    const bool on = kivCheckBox2->Checked();
    Apply(production::kLyricUnderlineVariable, [on](auto& style) { style.underline = on; });
}

void TForm16::kivComboBox1Change(TObject*)
{
    const int entry = kivComboBox1->ItemIndex();
    if (entry < 0) return;
    Apply(production::kLyricSizeVariable, [entry](auto& style) { style.size = app::kLyricSizeMin + entry; });
}
