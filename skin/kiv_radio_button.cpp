#include "skin/kiv_radio_button.h"

#include "platform/gfx/canvas.h"

TkivRadioButton::TkivRadioButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetFocusable(true);
    SetBounds(0, 0, 113, 17);
}

void TkivRadioButton::SetChecked(bool on)
{
    if (on == checked_) return;
    checked_ = on;
    Invalidate();
    if (!on) return;
    if (Parent()) {
        for (TControl* sibling : Parent()->Children()) {
            auto* radio = dynamic_cast<TkivRadioButton*>(sibling);
            if (radio && radio != this) radio->SetChecked(false);
        }
    }
    if (!in_click_) TCustomControl::Click();
}

void TkivRadioButton::Click()
{
    in_click_ = true;
    SetChecked(true);
    in_click_ = false;
    TCustomControl::Click();
}

void TkivRadioButton::KeyUp(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE) {
        Key = 0;
        Click();
    }
}

void TkivRadioButton::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
    const int box = 12;
    const int top = (ClientHeight() - box) / 2;
    Canvas.Pen().SetColor(clGray);
    Canvas.Brush().SetColor(EffectivelyEnabled() ? clWindow : clBtnFace);
    Canvas.Ellipse(0, top, box, top + box);
    if (checked_) {
        Canvas.Pen().SetColor(EffectivelyEnabled() ? clBlack : clGray);
        Canvas.Brush().SetColor(EffectivelyEnabled() ? clBlack : clGray);
        Canvas.Ellipse(3, top + 3, box - 3, top + box - 3);
    }
    Canvas.Font().Assign(Font());
    if (!EffectivelyEnabled()) Canvas.Font().SetColor(clGray);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.TextOut(box + 4, (ClientHeight() - Canvas.TextHeight("Ag")) / 2, Caption());
}
