#include "skin/kiv_message_dialog.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "skin/frm_message.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_public.h"

namespace {

skin::MessageDialogHook& Hook()
{
    static skin::MessageDialogHook hook;
    return hook;
}

// The box's geometry, in the skinned frame's pixels.
constexpr int kTextLeftWithIcon = 88;
constexpr int kTextLeftAlone = 24;
constexpr int kNarrowerWithoutIcon = 64;
constexpr int kButtonGap = 20;
constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
constexpr int kButtonStep = 93;
constexpr int kButtonRightInset = 97;
constexpr int kBelowContent = 75;
constexpr int kIconCells = 4;

}  // namespace

namespace skin {

MessageDialogHook SetMessageDialogHook(MessageDialogHook hook)
{
    return std::exchange(Hook(), std::move(hook));
}

void Tell(TkivMessageDialog& dialog, const std::string& caption, const std::string& text)
{
    dialog.SetCaption(caption);
    dialog.SetText(text);
    dialog.SetButton1Caption("确定");
    dialog.ShowModal();
}

}  // namespace skin

TkivMessageDialog::TkivMessageDialog(TComponent* AOwner) : TkivDialog(AOwner) {}

void TkivMessageDialog::SetButtonCount(TkivDialogButtonsCount count)
{
    button_count_ = std::clamp(count, 1, 3);
}

TModalResult TkivMessageDialog::ShowModal()
{
    if (Hook()) return Hook()(*this);

    auto box = std::make_unique<TfrmMsg>(nullptr);
    TfrmMsg& f = *box;
    f.SetFont(Font());
    f.lbl->SetFont(Font());
    f.lbl->SetCaption(Text());

    // A text taller than the screen would push the buttons off it: the
    // label is cut to what fits (Control+C still copies all of it).
    const int most = Screen().WorkAreaRect().Height() - kBelowContent - f.lbl->Top();
    if (f.lbl->Height() > most && most > 0) {
        f.lbl->SetAutoSize(false);
        f.lbl->SetHeight(most);
    }
    const int contentBottom = std::max(f.lbl->Top() + f.lbl->Height(), f.Image1->Top() + f.Image1->Height());

    const int count = ButtonCount();
    if (IconType() != TkivIconType::kivNone) {
        f.lbl->SetLeft(kTextLeftWithIcon);
        TBitmap strip;
        skin::LoadBitmapResource("MSGDLG", strip);
        TBitmap cell;
        skin::CutBitmapCell(strip, cell, kIconCells, static_cast<int>(IconType()));
        f.Image1->Picture().Assign(cell);
    } else {
        f.lbl->SetLeft(kTextLeftAlone);
        f.Image1->SetVisible(false);
        if (count < 3) f.SetWidth(f.Width() - kNarrowerWithoutIcon);
    }

    // Right to left: the last button first, so Button1 is leftmost and,
    // made last, keeps the focus.
    const int width = f.Width();
    for (int i = 0; i < count; ++i) {
        const int n = count - i;
        auto* button = new TkivButton(&f);
        button->SetParent(f.kivForm1);
        button->SetParentFont(false);
        button->SetFont(Font());
        button->SetBounds(width - i * kButtonStep - kButtonRightInset, contentBottom + kButtonGap,
                          kButtonWidth, kButtonHeight);
        button->SetCursor(ButtonCursor());
        button->SetTabStop(true);
        button->SetTabOrder(1);
        button->SetCaption(captions_[n - 1]);
        const TModalResult result = results_[n - 1];
        button->SetModalResult(result);
        button->SetCancel(result == mrCancel);
        button->SetDefault(result == mrOk);
        f.SetFocusOnShow(button);
    }

    f.SetHeight(contentBottom + kBelowContent);
    f.SetPosition(Position());

    f.SetCaption(Caption());
    f.kivForm1->RemoveHostCaption();
    f.kivForm1->SetCaption(Caption());
    f.kivForm1->SetUIStyle(UIStyle());
    f.kivForm1->SetFileTheme(FileTheme());
    f.kivForm1->SetFont(CaptionFont());
    // The buttons follow the frame's style.
    skin::ApplyUIStyleToChildren(*f.kivForm1, UIStyle(), FileTheme());

    return f.ShowModal();
}
