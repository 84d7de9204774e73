#include "platform/ui/button.h"

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"
#include "platform/ui/form.h"

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
    // A quick second press is a second click.
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
}

void TButton::SetDefault(bool on)
{
    default_ = on;
    active_ = on;
    Invalidate();
}

void TButton::Click()
{
    // The result goes first: a handler may set another one.
    if (modal_result_ != mrNone) {
        if (TForm* form = ParentForm()) form->SetModalResult(modal_result_);
    }
    TCustomControl::Click();
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus()) SetFocus();
        down_ = true;
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && down_) {
        down_ = false;
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButton::MouseEnter()
{
    mouse_in_ = true;
    Invalidate();
    TCustomControl::MouseEnter();
}

void TButton::MouseLeave()
{
    mouse_in_ = false;
    Invalidate();
    TCustomControl::MouseLeave();
}

void TButton::CancelMode()
{
    down_ = false;
    key_down_ = false;
    Invalidate();
}

void TButton::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && !(Shift & (ssAlt | ssCtrl))) {
        key_down_ = true;
        down_ = true;
        Invalidate();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TButton::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && key_down_) {
        key_down_ = false;
        down_ = false;
        Invalidate();
        Click();
        return;
    }
    TCustomControl::KeyUp(Key, Shift);
}

bool TButton::DialogKey(uint16_t Key, TShiftState)
{
    if (!EffectivelyEnabled() || !Showing()) return false;
    if ((Key == VK_RETURN && active_) || (Key == VK_ESCAPE && cancel_)) {
        Click();
        return true;
    }
    return false;
}

bool TButton::DialogChar(char32_t Key, TShiftState)
{
    if (!EffectivelyEnabled() || !Showing() || !IsAccel(Key, Caption())) return false;
    if (CanFocus()) SetFocus();
    Click();
    return true;
}

void TButton::FocusChanged(TControl* NewFocus)
{
    // A focused button answers Enter itself; otherwise the default one does.
    bool other_button = dynamic_cast<TButton*>(NewFocus) != nullptr;
    bool was = active_;
    active_ = NewFocus == this || (default_ && !other_button);
    if (was != active_) Invalidate();
}

void TButton::Paint(TCanvas& canvas)
{
    TRect r = ClientRect();
    ui::DrawButtonFace(canvas, r, down_, Focused() || active_);
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(EffectivelyEnabled() ? clBtnText : clGrayText);
    TRect text = r;
    if (down_) text = text.Offset(1, 1);
    canvas.DrawText(Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) canvas.DrawFocusRect(r.Inflate(-4, -4));
}
