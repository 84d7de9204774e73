#include "platform/ui/listview.h"

#include <algorithm>

#include "platform/core/text.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/bidi.h"
#include "platform/ui/draw.h"
#include "platform/ui/utf8.h"

// --- columns -------------------------------------------------------------------

void TListColumn::SetCaption(const std::string& c)
{
    caption_ = c;
    view_->ItemsChanged();
}
void TListColumn::SetWidth(int w)
{
    width_ = std::max(0, w);
    view_->ItemsChanged();
}
void TListColumn::SetAlignment(TAlignment a)
{
    alignment_ = a;
    view_->ItemsChanged();
}
int TListColumn::Index() const { return view_->Columns().IndexOf(this); }

TListColumn* TListColumns::Add()
{
    columns_.push_back(std::unique_ptr<TListColumn>(new TListColumn(view_)));
    view_->ItemsChanged();
    return columns_.back().get();
}
void TListColumns::Delete(int index)
{
    columns_.erase(columns_.begin() + index);
    view_->ItemsChanged();
}
void TListColumns::Clear()
{
    columns_.clear();
    view_->ItemsChanged();
}
int TListColumns::IndexOf(const TListColumn* column) const
{
    for (int i = 0; i < Count(); ++i)
        if (columns_[i].get() == column) return i;
    return -1;
}

// --- items ------------------------------------------------------------------------

TListItem::TListItem(TListView* view) : view_(view)
{
    sub_items_.OnChange = [this](TObject*) { view_->ItemsChanged(); };
}
void TListItem::SetCaption(const std::string& c)
{
    caption_ = c;
    view_->ItemsChanged();
}
int TListItem::Index() const { return view_->Items().IndexOf(this); }
bool TListItem::Selected() const { return selected_; }
void TListItem::SetSelected(bool on)
{
    if (!view_->MultiSelect()) {
        if (on)
            view_->SetSelected(this);
        else if (Selected())
            view_->SetSelected(nullptr);
        return;
    }
    if (on == selected_) return;
    selected_ = on;
    if (on) view_->focused_ = this;
    view_->SelectionChanged(true);
}
void TListItem::Delete() { view_->Items().Delete(Index()); }
void TListItem::MakeVisible()
{
    int i = Index();
    int rows = view_->VisibleRowCount();
    if (i < view_->TopIndex())
        view_->Scroll(0, (i - view_->TopIndex()) * view_->RowHeight());
    else if (i >= view_->TopIndex() + rows)
        view_->Scroll(0, (i - rows + 1 - view_->TopIndex()) * view_->RowHeight());
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, std::unique_ptr<TListItem>(new TListItem(view_)));
    if (updating_ == 0) view_->ItemsChanged();
    return items_[index].get();
}

void TListItems::Delete(int index)
{
    if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds");
    view_->ItemRemoving(items_[index].get());
    items_.erase(items_.begin() + index);
    if (updating_ == 0) view_->ItemsChanged();
}

void TListItems::Clear()
{
    if (items_.empty()) return;
    view_->ItemRemoving(nullptr);
    items_.clear();
    view_->ItemsChanged();
}

int TListItems::IndexOf(const TListItem* item) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i].get() == item) return i;
    return -1;
}

void TListItems::EndUpdate()
{
    if (updating_ > 0) --updating_;
    if (updating_ == 0) view_->ItemsChanged();
}

// --- the view -----------------------------------------------------------------------

TListView::TListView(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 250, 150);
    FontChanged();
}

TListView::~TListView()
{
    focused_ = anchor_ = nullptr;
    items_.items_.clear();
}

void TListView::FontChanged()
{
    int th = gfx::TextExtent(Font(), "Wg").cy;
    row_height_ = std::max(17, th + 4);
    header_height_ = std::max(19, th + 6);
    UpdateBars();
}

void TListView::SetShowColumnHeaders(bool on)
{
    show_headers_ = on;
    UpdateBars();
    Invalidate();
}

void TListView::SetBorderStyle(TBorderStyle s)
{
    border_style_ = s;
    UpdateBars();
    Invalidate();
}

TRect TListView::NonClientInsets() const { return border_style_ == bsSingle ? TRect{2, 2, 2, 2} : TRect{}; }

void TListView::ItemsChanged()
{
    if (items_.updating_ > 0) return;
    UpdateBars();
    Invalidate();
}

void TListView::ItemRemoving(TListItem* item)
{
    if (!item || item == focused_) focused_ = nullptr;
    if (!item || item == anchor_) anchor_ = nullptr;
}

void TListView::SetMultiSelect(bool on)
{
    multi_select_ = on;
    if (!on) SetSelected(Selected());
}

TListItem* TListView::Selected() const
{
    if (focused_ && focused_->selected_) return focused_;
    if (!multi_select_) return nullptr;
    for (const auto& item : items_.items_)
        if (item->selected_) return item.get();
    return nullptr;
}

int TListView::ItemIndex() const
{
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

int TListView::SelCount() const
{
    int n = 0;
    for (const auto& item : items_.items_) n += item->selected_;
    return n;
}

void TListView::SelectionChanged(bool changed)
{
    if (!changed) return;
    Invalidate();
    if (OnSelectItem && !EventsMuted()) OnSelectItem(this);
}

void TListView::SetSelected(TListItem* item)
{
    bool changed = false;
    for (const auto& i : items_.items_) {
        bool on = i.get() == item;
        changed |= i->selected_ != on;
        i->selected_ = on;
    }
    focused_ = anchor_ = item;
    SelectionChanged(changed);
}

void TListView::SetItemIndex(int index)
{
    SetSelected(index >= 0 && index < items_.Count() ? items_.Item(index) : nullptr);
}

void TListView::SelectRange(int from, int to, bool keep)
{
    int lo = std::min(from, to), hi = std::max(from, to);
    bool changed = false;
    for (int i = 0; i < items_.Count(); ++i) {
        TListItem* item = items_.Item(i);
        bool on = (i >= lo && i <= hi) || (keep && item->selected_);
        changed |= item->selected_ != on;
        item->selected_ = on;
    }
    focused_ = items_.Item(to);
    SelectionChanged(changed);
}

void TListView::SelectAll()
{
    if (!multi_select_ || items_.Count() == 0) return;
    TListItem* focus = focused_ ? focused_ : items_.Item(0);
    SelectRange(0, items_.Count() - 1, false);
    focused_ = focus;
}

void TListView::UserSelect(int index, TShiftState shift)
{
    if (!multi_select_ || !(shift & (ssShift | ssCtrl))) {
        SetItemIndex(index);
        return;
    }
    TListItem* item = items_.Item(index);
    if (shift & ssShift) {
        int from = anchor_ ? anchor_->Index() : index;
        if (!anchor_) anchor_ = item;
        SelectRange(from, index, shift & ssCtrl);
        return;
    }
    // Ctrl alone toggles the item and starts a new range there.
    item->selected_ = !item->selected_;
    focused_ = anchor_ = item;
    SelectionChanged(true);
}

void TListView::AlphaSort()
{
    std::stable_sort(items_.items_.begin(), items_.items_.end(), [](const auto& a, const auto& b) {
        return core::CompareText(a->Caption(), b->Caption()) < 0;
    });
    Invalidate();
}

TListItem* TListView::FindCaption(int start, const std::string& text, bool partial, bool inclusive,
                                  bool wrap) const
{
    int n = items_.Count();
    if (n == 0) return nullptr;
    auto matches = [&](int i) {
        const std::string& c = items_.Item(i)->Caption();
        return partial ? core::StartsText(text, c) : core::SameText(text, c);
    };
    int first = inclusive ? start : start + 1;
    if (first < 0) first = 0;
    for (int i = first; i < n; ++i)
        if (matches(i)) return items_.Item(i);
    if (wrap)
        for (int i = 0; i < std::min(first, n); ++i)
            if (matches(i)) return items_.Item(i);
    return nullptr;
}

int TListView::ContentWidth() const
{
    int w = 0;
    for (int i = 0; i < columns_.Count(); ++i) w += columns_[i]->Width();
    return w;
}

TRect TListView::ListArea() const
{
    TRect r = ClientRect();
    r.Top += HeaderHeight();
    // Right to left the vertical bar lies on the left.
    if (vbar_ && ui::UseRightToLeftLayout(*this))
        r.Left += ui::ScrollBarPart::kSize;
    else if (vbar_)
        r.Right -= ui::ScrollBarPart::kSize;
    if (hbar_) r.Bottom -= ui::ScrollBarPart::kSize;
    return r;
}

int TListView::VisibleRowCount() const
{
    TRect r = ListArea();
    return std::max(0, r.Height() / row_height_);
}

void TListView::UpdateBars()
{
    int cw = ClientWidth(), ch = ClientHeight() - HeaderHeight();
    int content = ContentWidth();
    int rows_total = items_.Count();
    // The bars depend on each other: settle in two rounds.
    vbar_ = hbar_ = false;
    for (int round = 0; round < 2; ++round) {
        int avail_h = ch - (hbar_ ? ui::ScrollBarPart::kSize : 0);
        int avail_w = cw - (vbar_ ? ui::ScrollBarPart::kSize : 0);
        vbar_ = rows_total * row_height_ > avail_h && rows_total > 0;
        hbar_ = content > avail_w;
    }
    int rows = VisibleRowCount();
    top_index_ = std::clamp(top_index_, 0, std::max(0, rows_total - std::max(rows, 1)));
    TRect area = ListArea();
    scroll_x_ = std::clamp(scroll_x_, 0, std::max(0, content - area.Width()));
    vscroll_.SetRange(0, std::max(0, rows_total - 1), std::max(1, rows));
    vscroll_.SetPos(top_index_);
    hscroll_.SetRange(0, std::max(0, content - 1), std::max(1, area.Width()));
    hscroll_.SetPos(scroll_x_);
    const int bar_left = area.Left > 0 ? 0 : cw - ui::ScrollBarPart::kSize;
    vscroll_.SetRect(vbar_ ? TRect{bar_left, HeaderHeight(), bar_left + ui::ScrollBarPart::kSize, area.Bottom}
                           : TRect{});
    hscroll_.SetRect(hbar_ ? TRect{area.Left, area.Bottom, area.Right, area.Bottom + ui::ScrollBarPart::kSize}
                           : TRect{});
}

void TListView::BiDiModeChanged()
{
    UpdateBars();
    Invalidate();
}

// A column's alignment, its sides traded under right-to-left reading.
unsigned TListView::AlignmentFlags(TAlignment alignment) const
{
    if (alignment == taCenter) return DT_CENTER;
    return (alignment == taRightJustify) != ui::UseRightToLeftLayout(*this) ? DT_RIGHT : DT_LEFT;
}

void TListView::Resize()
{
    UpdateBars();
    TCustomControl::Resize();
}

TListItem* TListView::TopItem() const
{
    return top_index_ < items_.Count() ? items_.Item(top_index_) : nullptr;
}

void TListView::SetTop(int index)
{
    int max_top = std::max(0, items_.Count() - std::max(1, VisibleRowCount()));
    index = std::clamp(index, 0, max_top);
    if (index == top_index_) return;
    top_index_ = index;
    vscroll_.SetPos(top_index_);
    Invalidate();
    if (OnScroll && !EventsMuted()) OnScroll(this);
}

void TListView::Scroll(int dx, int dy)
{
    if (dx) {
        int max_x = std::max(0, ContentWidth() - ListArea().Width());
        int x = std::clamp(scroll_x_ + dx, 0, max_x);
        if (x != scroll_x_) {
            scroll_x_ = x;
            hscroll_.SetPos(x);
            Invalidate();
            if (OnScroll && !EventsMuted()) OnScroll(this);
        }
    }
    if (dy) SetTop(top_index_ + dy / row_height_);
}

TScrollInfo TListView::VertScrollInfo() const
{
    return {0, std::max(0, items_.Count() - 1), std::max(1, VisibleRowCount()), top_index_, vbar_};
}

TScrollInfo TListView::HorzScrollInfo() const
{
    return {0, std::max(0, ContentWidth() - 1), std::max(1, ListArea().Width()), scroll_x_, hbar_};
}

intptr_t TListView::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    if (Msg == WM_VSCROLL || Msg == WM_HSCROLL) {
        bool v = Msg == WM_VSCROLL;
        int code = static_cast<int>(WParam & 0xFFFF);
        int pos = static_cast<int>((WParam >> 16) & 0xFFFF);
        int line = v ? 1 : 8;
        int page = v ? std::max(1, VisibleRowCount()) : std::max(1, ListArea().Width());
        int cur = v ? top_index_ : scroll_x_;
        int target = cur;
        switch (code) {
        case SB_LINEUP: target = cur - line; break;
        case SB_LINEDOWN: target = cur + line; break;
        case SB_PAGEUP: target = cur - page; break;
        case SB_PAGEDOWN: target = cur + page; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: target = pos; break;
        case SB_TOP: target = 0; break;
        case SB_BOTTOM: target = 1 << 20; break;
        }
        if (v)
            SetTop(target);
        else
            Scroll(target - cur, 0);
        return 0;
    }
    return TCustomControl::Perform(Msg, WParam, LParam);
}

TListItem* TListView::GetItemAt(int x, int y) const
{
    TRect area = ListArea();
    if (!area.Contains(x, y)) return nullptr;
    int i = top_index_ + (y - area.Top) / row_height_;
    if (i >= items_.Count()) return nullptr;
    // Without row select only the first column takes the click.
    if (!row_select_ && columns_.Count() > 0 && x - area.Left + scroll_x_ >= columns_[0]->Width())
        return nullptr;
    return items_.Item(i);
}

TRect TListView::ItemRect(int index) const
{
    TRect area = ListArea();
    int y = area.Top + (index - top_index_) * row_height_;
    return {area.Left - scroll_x_, y, area.Left - scroll_x_ + ContentWidth(), y + row_height_};
}

void TListView::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || items_.Count() == 0) return;
    if (Key == 'A' && (Shift & ssCtrl) && multi_select_) {
        SelectAll();
        return;
    }
    int i = focused_ ? focused_->Index() : -1;
    int rows = std::max(1, VisibleRowCount());
    switch (Key) {
    case VK_UP: i = std::max(0, i - 1); break;
    case VK_DOWN: i = std::min(items_.Count() - 1, i + 1); break;
    case VK_HOME: i = 0; break;
    case VK_END: i = items_.Count() - 1; break;
    case VK_PRIOR: i = std::max(0, i - rows + 1); break;
    case VK_NEXT: i = std::min(items_.Count() - 1, std::max(0, i) + rows - 1); break;
    default: return;
    }
    // Ctrl with an arrow moves as a plain arrow does; Shift extends.
    UserSelect(i, Shift & ssShift);
    items_.Item(i)->MakeVisible();
}

void TListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus()) SetFocus();
    if (Button == mbLeft && vscroll_.Rect().Contains({X, Y})) {
        if (vscroll_.MouseDown({X, Y}, 1)) SetTop(vscroll_.Pos());
        dragging_bar_ = &vscroll_;
    } else if (Button == mbLeft && hscroll_.Rect().Contains({X, Y})) {
        if (hscroll_.MouseDown({X, Y}, 8)) Scroll(hscroll_.Pos() - scroll_x_, 0);
        dragging_bar_ = &hscroll_;
    } else if (Button == mbLeft || Button == mbRight) {
        if (ListArea().Contains(X, Y)) {
            TListItem* item = GetItemAt(X, Y);
            if (!item) {
                if (!(Shift & (ssCtrl | ssShift))) SetSelected(nullptr);
            } else if (Button == mbRight && item->Selected()) {
                // The right button keeps a selection it lands on, for its menu.
                focused_ = item;
            } else {
                UserSelect(item->Index(), Button == mbLeft ? Shift : 0);
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TListView::MouseMove(TShiftState Shift, int X, int Y)
{
    if (dragging_bar_ == &vscroll_ && vscroll_.MouseMove({X, Y})) SetTop(vscroll_.Pos());
    if (dragging_bar_ == &hscroll_ && hscroll_.MouseMove({X, Y})) Scroll(hscroll_.Pos() - scroll_x_, 0);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (dragging_bar_) dragging_bar_->MouseUp();
    dragging_bar_ = nullptr;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TListView::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTop(top_index_ - WheelDelta / 40);
    return true;
}

void TListView::PaintNonClient(TCanvas& canvas)
{
    if (border_style_ == bsSingle) ui::DrawSunkenEdge(canvas, {0, 0, Width(), Height()});
}

void TListView::Paint(TCanvas& canvas)
{
    TRect client = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    TRect area = ListArea();
    // Rows.
    {
        TCanvasStateSaver saver(canvas);
        canvas.IntersectClipRect(area);
        int last = std::min(items_.Count(), top_index_ + VisibleRowCount() + 1);
        bool show_sel = Focused() || !hide_selection_;
        for (int i = top_index_; i < last; ++i) {
            TListItem* item = items_.Item(i);
            TRect row = ItemRect(i);
            bool sel = item->selected_ && show_sel;
            int x = row.Left;
            for (int c = 0; c < std::max(1, columns_.Count()); ++c) {
                int w = columns_.Count() ? columns_[c]->Width() : area.Width();
                TRect cell{x, row.Top, x + w, row.Bottom};
                if (sel && (c == 0 || row_select_)) {
                    canvas.Brush().SetColor(Focused() ? clHighlight : clBtnFace);
                    canvas.FillRect(cell);
                }
                std::string text = c == 0                             ? item->Caption()
                                   : c - 1 < item->SubItems().Count() ? item->SubItems()[c - 1]
                                                                      : std::string();
                canvas.Font().Assign(Font());
                if (sel && (c == 0 || row_select_) && Focused()) canvas.Font().SetColor(clHighlightText);
                canvas.Brush().SetStyle(bsClear);
                TAlignment al = columns_.Count() ? columns_[c]->Alignment() : taLeftJustify;
                unsigned flags =
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | AlignmentFlags(al);
                TRect tr = cell.Inflate(-4, 0);
                canvas.DrawText(text, tr, flags);
                x += w;
            }
            if (grid_lines_) {
                canvas.Pen().SetColor(clBtnFace);
                canvas.MoveTo(row.Left, row.Bottom - 1);
                canvas.LineTo(row.Right, row.Bottom - 1);
            }
        }
        if (grid_lines_) {
            canvas.Pen().SetColor(clBtnFace);
            int x = area.Left - scroll_x_;
            for (int c = 0; c < columns_.Count(); ++c) {
                x += columns_[c]->Width();
                canvas.MoveTo(x - 1, area.Top);
                canvas.LineTo(x - 1, area.Bottom);
            }
        }
    }
    // Header.
    if (HeaderHeight() > 0) {
        TCanvasStateSaver saver(canvas);
        // Above a left-hand bar the header shows a blank face.
        if (area.Left > 0) ui::DrawButtonFace(canvas, {0, 0, area.Left, HeaderHeight()}, false, false);
        canvas.IntersectClipRect({area.Left, 0, area.Right, HeaderHeight()});
        int x = area.Left - scroll_x_;
        for (int c = 0; c < columns_.Count(); ++c) {
            TListColumn* col = columns_[c];
            TRect cell{x, 0, x + col->Width(), HeaderHeight()};
            ui::DrawButtonFace(canvas, cell, false, false);
            canvas.Brush().SetStyle(bsClear);
            canvas.Font().Assign(Font());
            unsigned flags =
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | AlignmentFlags(col->Alignment());
            TRect tr = cell.Inflate(-4, 0);
            canvas.DrawText(col->Caption(), tr, flags);
            x += col->Width();
        }
        if (x < area.Right) ui::DrawButtonFace(canvas, {x, 0, area.Right + 2, HeaderHeight()}, false, false);
    }
    if (vbar_) vscroll_.Paint(canvas);
    if (hbar_) hscroll_.Paint(canvas);
    if (vbar_ && hbar_) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(area.Left > 0 ? TRect{client.Left, area.Bottom, area.Left, client.Bottom}
                                      : TRect{area.Right, area.Bottom, client.Right, client.Bottom});
    }
}
