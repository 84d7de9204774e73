#include "skin/kiv_check_box.h"

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"

TkivCheckBox::TkivCheckBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetFocusable(true);
    SetBounds(0, 0, 97, 17);
}

void TkivCheckBox::SetChecked(bool on)
{
    if (on == checked_) return;
    checked_ = on;
    Invalidate();
    if (!in_click_) TCustomControl::Click();
}

void TkivCheckBox::Click()
{
    in_click_ = true;
    SetChecked(!checked_);
    in_click_ = false;
    TCustomControl::Click();
}

void TkivCheckBox::KeyUp(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE) {
        Key = 0;
        Click();
    }
}

void TkivCheckBox::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
    const int box = 13;
    const int top = (ClientHeight() - box) / 2;
    const TRect r{0, top, box, top + box};
    Canvas.Brush().SetColor(EffectivelyEnabled() ? clWindow : clBtnFace);
    Canvas.FillRect(r);
    ui::DrawSunkenEdge(Canvas, r);
    if (checked_) {
        Canvas.Pen().SetColor(EffectivelyEnabled() ? clBlack : clGray);
        Canvas.Pen().SetWidth(2);
        Canvas.MoveTo(r.Left + 3, r.Top + 6);
        Canvas.LineTo(r.Left + 5, r.Top + 9);
        Canvas.LineTo(r.Left + 10, r.Top + 3);
        Canvas.Pen().SetWidth(1);
    }
    Canvas.Font().Assign(Font());
    if (!EffectivelyEnabled()) Canvas.Font().SetColor(clGray);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.TextOut(box + 4, (ClientHeight() - Canvas.TextHeight("Ag")) / 2, Caption());
}
