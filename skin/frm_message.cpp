#include "skin/frm_message.h"

#include <utility>

#include "platform/ui/clipboard.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"

namespace {

// A border up to this wide fits in the dialog frame as designed.
constexpr int kFramedBorder = 6;
constexpr uint16_t kCopyKey = 67;  // C

}  // namespace

TfrmMsg::TfrmMsg(TComponent* AOwner) : TForm(AOwner)
{
    SetName("frmMsg");
    SetBorderStyle(bsDialog);
    SetClientSize(kDesignClientWidth, kDesignClientHeight);
    SetColor(clBtnFace);
    SetKeyPreview(true);
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
    SetFont(font);

    kivForm1 = new TkivForm(this);
    kivForm1->SetName("kivForm1");
    kivForm1->SetParent(this);
    kivForm1->SetAlign(alClient);
    kivForm1->SetUIStyle(TkivUIStyle::DeepBlue);
    kivForm1->SetUIStyleAutoUpdateSub(true);
    kivForm1->SetBorderColor(clBlack);
    kivForm1->SetBorderWidth(1);
    kivForm1->SetTitleBarButtons({kivClose});
    kivForm1->SetColor(0xE8E8E8);
    TFont title;
    title.SetName("Tahoma");
    title.SetColor(clWhite);
    title.SetBold(true);
    kivForm1->SetFont(title);

    lbl = new TLabel(this);
    lbl->SetName("lbl");
    lbl->SetParent(kivForm1);
    // The text keeps the box's font, not the title's.
    lbl->SetParentFont(false);
    lbl->SetFont(font);
    lbl->SetShowAccelChar(false);
    lbl->SetTransparent(true);
    lbl->SetBounds(88, 64, 225, 13);
    lbl->SetWordWrap(true);
    lbl->SetAutoSize(true);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(kivForm1);
    Image1->SetBounds(24, 64, 40, 40);
    Image1->SetTransparent(true);
    Image1->SetAutoSize(true);

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnKeyDown = [this](TObject* Sender, uint16_t& Key, TShiftState Shift) {
        FormKeyDown(Sender, Key, Shift);
    };
}

std::vector<TkivButton*> TfrmMsg::Buttons() const
{
    std::vector<TkivButton*> buttons;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TkivButton*>(Components(i))) buttons.push_back(button);
    return buttons;
}

void TfrmMsg::FormShow(TObject*)
{
    const intptr_t border = Perform(WM_SKIN_GETBORDERWIDTH);
    if (border > kFramedBorder) SetWidth(Width() + 2 * static_cast<int>(border));
}

void TfrmMsg::FormActivate(TObject*)
{
    // A hidden form cannot take the focus yet: it is given on the way up.
    TControl* control = std::exchange(focus_on_show_, nullptr);
    if (control && control->CanFocus()) SetActiveControl(control);
}

void TfrmMsg::FormKeyDown(TObject*, uint16_t& Key, TShiftState Shift)
{
    if (Key != kCopyKey || !(Shift & ssCtrl)) return;
    std::vector<std::string> captions;
    for (TkivButton* button : Buttons()) captions.push_back(button->Caption());
    Clipboard().SetAsText(skin::MessageBoxText(kivForm1->Caption(), lbl->Caption(), captions));
}

namespace skin {

std::string MessageBoxText(const std::string& caption, const std::string& text,
                           const std::vector<std::string>& buttonCaptions)
{
    const std::string dashes(27, '-');
    const std::string eol = "\r\n";
    std::string buttons;
    for (std::size_t i = 0; i < buttonCaptions.size(); ++i) {
        if (i > 0) buttons += "   ";
        buttons += buttonCaptions[i];
    }
    return dashes + eol + caption + eol + dashes + eol + text + eol + dashes + eol + buttons + eol + dashes;
}

}  // namespace skin
