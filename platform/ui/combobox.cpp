#include "platform/ui/combobox.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/bidi.h"
#include "platform/ui/draw.h"
#include "platform/ui/form.h"
#include "platform/ui/listbox.h"
#include "platform/ui/scrollbar_part.h"

TComboBox::TComboBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
    items_.OnChange = [this](TObject*) {
        if (item_index_ >= items_.Count()) item_index_ = -1;
        Invalidate();
    };
}

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_.Count()) index = -1;
    item_index_ = index;
    Invalidate();
}

std::string TComboBox::Text() const { return item_index_ >= 0 ? items_[item_index_] : std::string(); }

void TComboBox::ChooseByUser(int index)
{
    if (index < 0 || index >= items_.Count()) return;
    bool changed = index != item_index_;
    SetItemIndex(index);
    if (EventsMuted()) return;
    if (OnSelect) OnSelect(this);
    if (changed && OnChange) OnChange(this);
}

void TComboBox::DropDown()
{
    if (dropped_ || items_.Count() == 0) return;
    if (OnDropDown && !EventsMuted()) OnDropDown(this);
    TForm popup(nullptr);
    popup.SetBorderStyle(bsNone);
    popup.SetCloseOnOutsideClick(true);
    popup.SetKeyPreview(true);
    auto* list = new TListBox(&popup);
    list->SetParent(&popup);
    list->SetAlign(alClient);
    list->SetFont(Font());
    list->Items().Assign(items_);
    int rows = std::min(drop_down_count_, items_.Count());
    TPoint at = ClientToScreen({-NonClientInsets().Left, Height() - NonClientInsets().Top});
    popup.SetBounds(at.X, at.Y, Width(), rows * list->ItemHeight() + 4);
    list->SetItemIndex(item_index_);
    int chosen = -1;
    list->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        if (b != mbLeft) return;
        int i = list->ItemAtPos({x, y}, true);
        if (i >= 0) {
            chosen = i;
            popup.SetModalResult(mrOk);
        }
    };
    popup.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
        if (key == VK_RETURN) {
            chosen = list->ItemIndex();
            popup.SetModalResult(mrOk);
            key = 0;
        } else if (key == VK_ESCAPE) {
            popup.SetModalResult(mrCancel);
            key = 0;
        }
    };
    dropped_ = true;
    popup.SetActiveControl(nullptr);
    try {
        popup.ShowModal();
    } catch (...) {
        dropped_ = false;
        throw;
    }
    dropped_ = false;
    if (OnCloseUp && !EventsMuted()) OnCloseUp(this);
    if (chosen >= 0) ChooseByUser(chosen);
    Invalidate();
}

void TComboBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    if ((Key == VK_DOWN && (Shift & ssAlt)) || Key == VK_F4) {
        DropDown();
        Key = 0;
        return;
    }
    int n = items_.Count();
    if (n == 0) return;
    switch (Key) {
    case VK_UP: ChooseByUser(std::max(0, item_index_ - 1)); break;
    case VK_DOWN: ChooseByUser(std::min(n - 1, item_index_ + 1)); break;
    case VK_HOME: ChooseByUser(0); break;
    case VK_END: ChooseByUser(n - 1); break;
    default: return;
    }
    Key = 0;
}

void TComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus()) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) {
        // The list takes the mouse from here on.
        SetMouseCapture(false);
        DropDown();
    }
}

bool TComboBox::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, MousePos)) return true;
    if (!Focused() || items_.Count() == 0) return false;
    ChooseByUser(std::clamp(item_index_ + (WheelDelta > 0 ? -1 : 1), 0, items_.Count() - 1));
    return true;
}

TRect TComboBox::ButtonRect() const
{
    const TRect r = ClientRect();
    const int bw = std::min(ui::ScrollBarPart::kSize, r.Width());
    if (ui::UseRightToLeftLayout(*this)) return {r.Left, r.Top, r.Left + bw, r.Bottom};
    return {r.Right - bw, r.Top, r.Right, r.Bottom};
}

void TComboBox::PaintNonClient(TCanvas& canvas) { ui::DrawSunkenEdge(canvas, {0, 0, Width(), Height()}); }

void TComboBox::Paint(TCanvas& canvas)
{
    TRect r = ClientRect();
    canvas.Brush().SetColor(EffectivelyEnabled() ? Color() : clBtnFace);
    canvas.FillRect(r);
    const TRect button = ButtonRect();
    const bool rtl = ui::UseRightToLeftLayout(*this);
    TRect text = rtl ? TRect{button.Right + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}
                     : TRect{r.Left + 1, r.Top + 1, button.Left - 1, r.Bottom - 1};
    if (Focused() && !dropped_) {
        canvas.Brush().SetColor(clHighlight);
        canvas.FillRect(text);
        canvas.Font().SetColor(clHighlightText);
    } else if (!EffectivelyEnabled()) {
        canvas.Font().SetColor(clGrayText);
    }
    canvas.Brush().SetStyle(bsClear);
    TRect tr = text.Inflate(-2, 0);
    canvas.DrawText(Text(), tr, (rtl ? DT_RIGHT : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ui::DrawButtonFace(canvas, button, dropped_, false);
    ui::DrawDownArrow(canvas, button, EffectivelyEnabled() ? clBtnText : clGrayText);
}
