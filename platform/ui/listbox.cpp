#include "platform/ui/listbox.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/bidi.h"
#include "platform/ui/draw.h"

TListBox::TListBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
    items_.OnChange = [this](TObject*) { ItemsChanged(); };
    FontChanged();
}

void TListBox::FontChanged()
{
    if (!item_height_set_) item_height_ = std::max(13, gfx::TextExtent(Font(), "Wg").cy + 2);
    UpdateBar();
}

void TListBox::SetItemHeight(int h)
{
    item_height_ = std::max(1, h);
    item_height_set_ = true;
    UpdateBar();
    Invalidate();
}

void TListBox::SetStyle(TListBoxStyle s)
{
    style_ = s;
    Invalidate();
}

void TListBox::SetBorderStyle(TBorderStyle s)
{
    border_style_ = s;
    UpdateBar();
    Invalidate();
}

TRect TListBox::NonClientInsets() const { return border_style_ == bsSingle ? TRect{2, 2, 2, 2} : TRect{}; }

void TListBox::ItemsChanged()
{
    if (item_index_ >= Count()) item_index_ = -1;
    UpdateBar();
    Invalidate();
}

int TListBox::VisibleItems() const { return std::max(1, ClientHeight() / item_height_); }

bool TListBox::BarVisible() const { return Count() > VisibleItems(); }

void TListBox::UpdateBar()
{
    bar_.SetRange(0, std::max(0, Count() - 1), VisibleItems());
    int max_top = std::max(0, Count() - VisibleItems());
    top_index_ = std::clamp(top_index_, 0, max_top);
    bar_.SetPos(top_index_);
    // Right to left the bar lies on the left.
    const int left = ui::UseRightToLeftLayout(*this) ? 0 : ClientWidth() - ui::ScrollBarPart::kSize;
    bar_.SetRect(BarVisible() ? TRect{left, 0, left + ui::ScrollBarPart::kSize, ClientHeight()} : TRect{});
}

void TListBox::BiDiModeChanged()
{
    UpdateBar();
    Invalidate();
}

void TListBox::Resize()
{
    UpdateBar();
    TCustomControl::Resize();
}

void TListBox::SetTopIndex(int index)
{
    int max_top = std::max(0, Count() - VisibleItems());
    index = std::clamp(index, 0, max_top);
    if (index == top_index_) return;
    top_index_ = index;
    UpdateBar();
    Invalidate();
    if (OnScroll && !EventsMuted()) OnScroll(this);
}

void TListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= Count()) index = -1;
    item_index_ = index;
    if (index >= 0) {
        if (index < top_index_)
            SetTopIndex(index);
        else if (index >= top_index_ + VisibleItems())
            SetTopIndex(index - VisibleItems() + 1);
    }
    Invalidate();
}

void TListBox::SelectByUser(int index)
{
    if (index == item_index_) return;
    SetItemIndex(index);
    if (OnChange && !EventsMuted()) OnChange(this);
}

int TListBox::ItemAtPos(TPoint p, bool existing) const
{
    if (p.X < 0 || p.Y < 0 || p.X >= ClientWidth() || p.Y >= ClientHeight()) return existing ? -1 : Count();
    int i = top_index_ + p.Y / item_height_;
    if (i >= Count()) return existing ? -1 : Count();
    return i;
}

TRect TListBox::ItemRect(int index) const
{
    const int bar = BarVisible() ? ui::ScrollBarPart::kSize : 0;
    const int y = (index - top_index_) * item_height_;
    if (ui::UseRightToLeftLayout(*this)) return {bar, y, ClientWidth(), y + item_height_};
    return {0, y, ClientWidth() - bar, y + item_height_};
}

TScrollInfo TListBox::VertScrollInfo() const
{
    return {0, std::max(0, Count() - 1), VisibleItems(), top_index_, BarVisible()};
}

intptr_t TListBox::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    if (Msg == WM_VSCROLL) {
        int code = static_cast<int>(WParam & 0xFFFF);
        int pos = static_cast<int>((WParam >> 16) & 0xFFFF);
        switch (code) {
        case SB_LINEUP: SetTopIndex(top_index_ - 1); break;
        case SB_LINEDOWN: SetTopIndex(top_index_ + 1); break;
        case SB_PAGEUP: SetTopIndex(top_index_ - VisibleItems()); break;
        case SB_PAGEDOWN: SetTopIndex(top_index_ + VisibleItems()); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: SetTopIndex(pos); break;
        case SB_TOP: SetTopIndex(0); break;
        case SB_BOTTOM: SetTopIndex(Count()); break;
        }
        return 0;
    }
    return TCustomControl::Perform(Msg, WParam, LParam);
}

void TListBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || Count() == 0) return;
    int i = item_index_;
    switch (Key) {
    case VK_UP: i = std::max(0, i - 1); break;
    case VK_DOWN: i = std::min(Count() - 1, i + 1); break;
    case VK_HOME: i = 0; break;
    case VK_END: i = Count() - 1; break;
    case VK_PRIOR: i = std::max(0, i - VisibleItems() + 1); break;
    case VK_NEXT: i = std::min(Count() - 1, std::max(0, i) + VisibleItems() - 1); break;
    default: return;
    }
    SelectByUser(i);
    Click();
}

void TListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus()) SetFocus();
    if (Button == mbLeft && bar_.Rect().Contains({X, Y})) {
        if (bar_.MouseDown({X, Y}, 1)) SetTopIndex(bar_.Pos());
    } else if (Button == mbLeft) {
        int i = ItemAtPos({X, Y}, true);
        if (i >= 0) SelectByUser(i);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (bar_.Dragging()) {
        if (bar_.MouseMove({X, Y})) SetTopIndex(bar_.Pos());
    } else if ((Shift & ssLeft) && MouseCapture()) {
        int i = ItemAtPos({std::clamp(X, 0, ClientWidth() - 1), Y}, false);
        if (Y < 0) i = std::max(0, top_index_ - 1);
        if (i >= Count()) i = Count() - 1;
        if (i >= 0) SelectByUser(i);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    bar_.MouseUp();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TListBox::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopIndex(top_index_ - WheelDelta / 40);
    return true;
}

void TListBox::PaintNonClient(TCanvas& canvas)
{
    if (border_style_ == bsSingle) ui::DrawSunkenEdge(canvas, {0, 0, Width(), Height()});
}

void TListBox::DrawItem(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state)
{
    if (style_ != lbStandard && OnDrawItem && !EventsMuted()) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    bool sel = state & odSelected;
    canvas.Brush().SetColor(sel ? clHighlight : Color());
    canvas.FillRect(rect);
    canvas.Font().SetColor((state & odDisabled) ? clGrayText : sel ? clHighlightText : Font().Color());
    canvas.Brush().SetStyle(bsClear);
    TRect text = rect;
    // Right-to-left text starts at the right.
    const bool rtl = ui::UseRightToLeftLayout(*this);
    (rtl ? text.Right : text.Left) += rtl ? -2 : 2;
    canvas.DrawText(items_[index], text,
                    (rtl ? DT_RIGHT : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (state & odFocused) canvas.DrawFocusRect(rect);
}

void TListBox::Paint(TCanvas& canvas)
{
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
    int last = std::min(Count(), top_index_ + VisibleItems() + 1);
    for (int i = top_index_; i < last; ++i) {
        TOwnerDrawState state = 0;
        if (i == item_index_) state |= odSelected | (Focused() ? odFocused : 0);
        if (!EffectivelyEnabled()) state |= odDisabled;
        TRect r = ItemRect(i);
        TCanvasStateSaver saver(canvas);
        canvas.IntersectClipRect(r);
        canvas.Font().Assign(Font());
        DrawItem(canvas, i, r, state);
    }
    if (BarVisible()) bar_.Paint(canvas);
}
