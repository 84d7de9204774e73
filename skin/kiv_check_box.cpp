#include "skin/kiv_check_box.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_locale.h"
#include "skin/kiv_public.h"

TkivCheckBox::TkivCheckBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    // A quick second click toggles again.
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
    SetTabStop(true);
    SetFocusable(true);
    SetBounds(0, 0, 93, 17);
    // The caption sits on the parent's colour, not on a face of its own.
    SetParentColor(true);
    ui_style_ = skin::GetOwnerUIStyle(AOwner);
    auto_size_ = true;
}

void TkivCheckBox::SetChecked(bool on)
{
    if (on == checked_) return;
    checked_ = on;
    UpdateAutoSize();
    Invalidate();
    Changed();
}

void TkivCheckBox::FireClick()
{
    if (OnClick && !EventsMuted()) OnClick(this);
}

void TkivCheckBox::Changed() { FireClick(); }

void TkivCheckBox::Toggle()
{
    BeforeToggle();
    SetChecked(!checked_);
}

void TkivCheckBox::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    UpdateAutoSize();
    Invalidate();
}

void TkivCheckBox::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivCheckBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && file_theme_ && AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivCheckBox::SetTransparent(bool on)
{
    transparent_ = on;
    Invalidate();
}

void TkivCheckBox::SetAutoSize(bool on)
{
    auto_size_ = on;
    UpdateAutoSize();
    Invalidate();
}

void TkivCheckBox::SetEnabled(bool enabled)
{
    TCustomControl::SetEnabled(enabled);
    UpdateAutoSize();
    Invalidate();
}

void TkivCheckBox::FontChanged()
{
    UpdateAutoSize();
    Invalidate();
}

void TkivCheckBox::TextChanged()
{
    UpdateAutoSize();
    Invalidate();
}

// --- the state strip ---------------------------------------------------------------------

void TkivCheckBox::StateCell(int& index, int& count) const
{
    TkivUIStyle effective;
    const bool skinned = TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
    count = skinned ? FileThemeCells() : 4;
    const bool enabled = EffectivelyEnabled();
    if (count == 6)
        index = enabled ? (checked_ ? 1 : 3) : (checked_ ? 4 : 6);
    else
        index = enabled ? (checked_ ? 1 : 2) : (checked_ ? 3 : 4);
}

void TkivCheckBox::GetCell(TBitmap& picture) const
{
    int index = 0, count = 0;
    StateCell(index, count);
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective))
        file_theme_->GetBitmapCell(GetFileThemeBitmap(), picture, index, count);
    else
        skin::GetBuiltInBitmap(effective, GetBuiltInItem(), &picture, index, count);
}

// The size is kept up to date whenever what it depends on changes, rather
// than in the middle of a paint: bounds given while AutoSize holds keep
// only their position.
void TkivCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (auto_size_) {
        TBitmap cell;
        GetCell(cell);
        const int textHeight = gfx::TextExtent(Font(), "W").cy;
        AHeight = std::max(textHeight + 2, cell.Height()) + 4;
        AWidth = cell.Width() + gfx::TextExtent(Font(), Caption()).cx + 8;
    }
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TkivCheckBox::UpdateAutoSize()
{
    if (auto_size_) SetBounds(Left(), Top(), Width(), Height());
}

void TkivCheckBox::Paint(TCanvas& Canvas)
{
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    TBitmap cell;
    GetCell(cell);
    cell.SetTransparent(GetPicTransparent());

    TBitmap off(W, H, Color());
    TCanvas& canvas = off.Canvas();
    canvas.Font().Assign(Font());
    if (transparent_) {
        skin::DrawParentBackground(canvas, *this);
    } else {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(ClientRect());
    }
    canvas.Brush().SetStyle(bsClear);
    const int textHeight = canvas.TextHeight("W");
    const int ty = (H - textHeight) / 2;
    const int py = (H - cell.Height()) / 2;
    // Right to left only where the system locale runs that way too.
    const bool rtl = BiDiMode() == bdRightToLeft && skin::MiddleEastLocale();
    TRect text;
    if (rtl) {
        canvas.Draw(W - cell.Width() - 1, py, cell);
        text = {0, ty, W - cell.Width() - 4, H};
        canvas.DrawText(Caption(), text, DT_RIGHT | DT_SINGLELINE);
    } else {
        canvas.Draw(1, py, cell);
        text = {cell.Width() + 4, ty, W, H};
        canvas.DrawText(Caption(), text, DT_LEFT | DT_SINGLELINE);
    }
    if (NeedDrawFocus()) {
        canvas.Brush().SetColor(Color());
        const TRect focus = rtl ? TRect{0, ty, W - cell.Width() - 2, ty + textHeight + 2}
                                : TRect{cell.Width() + 3, ty, W, ty + textHeight + 2};
        canvas.DrawFocusRect(focus);
    }
    Canvas.CopyRect(ClientRect(), off, off.BoundsRect());
}

// --- input ----------------------------------------------------------------------------------

void TkivCheckBox::Click()
{
    // OnClick belongs to Changed: the click itself raises nothing more.
    Toggle();
}

void TkivCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && CanFocus()) SetFocus();
}

void TkivCheckBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    // Enter taken by a default button never gets here, and so never toggles.
    if (Key == VK_SPACE || Key == VK_RETURN) key_pressed_ = Key;
}

void TkivCheckBox::KeyUp(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyUp(Key, Shift);
    const bool pressedHere = Key != 0 && Key == key_pressed_;
    if (Key == key_pressed_) key_pressed_ = 0;
    if (pressedHere && KeyToggles() && Focused() && EffectivelyEnabled()) {
        Invalidate();
        Click();
    }
}

bool TkivCheckBox::DialogChar(char32_t Key, TShiftState Shift)
{
    if (TCustomControl::DialogChar(Key, Shift)) return true;
    if (!IsAccel(Key, Caption()) || !Enabled() || !Visible() || !Parent() || !Parent()->EffectivelyEnabled())
        return false;
    if (CanFocus()) SetFocus();
    Click();
    return true;
}

void TkivCheckBox::FocusChanged(TControl* NewFocus)
{
    TCustomControl::FocusChanged(NewFocus);
    if (NewFocus != this) key_pressed_ = 0;
    Invalidate();
}

void TkivCheckBox::DoEnter()
{
    TCustomControl::DoEnter();
    Invalidate();
}

void TkivCheckBox::DoExit()
{
    TCustomControl::DoExit();
    Invalidate();
}
