#include "platform/ui/memo.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"
#include "platform/ui/utf8.h"

namespace {
constexpr int kMargin = 2;
constexpr int kBar = ui::ScrollBarPart::kSize;
}  // namespace

TMemo::TMemo(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetCursor(crIBeam);
    SetBounds(0, 0, 185, 89);
    lines_.OnChange = [this](TObject*) { LinesChanged(); };
    Layout();
}

std::string TMemo::Text() const
{
    std::string t = lines_.Text();
    if (t.size() >= 2) t.resize(t.size() - 2);
    return t;
}

void TMemo::SetText(const std::string& text)
{
    if (text == Text()) return;
    lines_.SetText(text);
}

void TMemo::SelectAll()
{
    all_selected_ = lines_.Count() > 0;
    if (all_selected_) {
        caret_line_ = lines_.Count() - 1;
        caret_col_ = lines_[caret_line_].size();
        ScrollToCaret();
    }
    Invalidate();
}

bool TMemo::DeleteSelection()
{
    if (!all_selected_) return false;
    all_selected_ = false;
    caret_line_ = 0;
    caret_col_ = 0;
    lines_.BeginUpdate();
    lines_.Clear();
    lines_.Add("");
    lines_.EndUpdate();
    return true;
}

void TMemo::LinesChanged()
{
    all_selected_ = false;
    caret_line_ = std::clamp(caret_line_, 0, std::max(0, lines_.Count() - 1));
    if (caret_line_ < lines_.Count())
        caret_col_ = std::min(caret_col_, lines_[caret_line_].size());
    else
        caret_col_ = 0;
    Layout();
    Invalidate();
    if (OnChange && !EventsMuted()) OnChange(this);
}

void TMemo::SetWordWrap(bool on)
{
    word_wrap_ = on;
    Layout();
    Invalidate();
}
void TMemo::SetScrollBars(TScrollStyle s)
{
    scroll_bars_ = s;
    Realign();
    Layout();
    Invalidate();
}
void TMemo::SetBorderStyle(TBorderStyle s)
{
    border_style_ = s;
    Layout();
    Invalidate();
}

TRect TMemo::NonClientInsets() const
{
    int e = border_style_ == bsSingle ? 2 : 0;
    return {e, e, e + (HasV() ? kBar : 0), e + (HasH() ? kBar : 0)};
}

int TMemo::LineHeight() const { return std::max(1, gfx::TextExtent(Font(), "Wg").cy); }
int TMemo::TextAreaWidth() const { return std::max(1, ClientWidth() - 2 * kMargin); }
int TMemo::VisibleRows() const { return std::max(1, (ClientHeight() - 2 * kMargin) / LineHeight()); }

void TMemo::Layout()
{
    rows_.clear();
    content_width_ = 0;
    int width = TextAreaWidth();
    for (int i = 0; i < lines_.Count(); ++i) {
        const std::string& line = lines_[i];
        int line_width = gfx::TextExtent(Font(), line).cx;
        content_width_ = std::max(content_width_, line_width);
        if (!word_wrap_ || line_width <= width) {
            rows_.push_back({i, 0, line.size()});
            continue;
        }
        size_t start = 0;
        while (start < line.size()) {
            // The longest prefix that fits, broken after a space when there is one.
            size_t end = start, last_space = std::string::npos;
            while (end < line.size()) {
                size_t next = ui::utf8::Next(line, end);
                if (gfx::TextExtent(Font(), line.substr(start, next - start)).cx > width && end > start)
                    break;
                if (line[end] == ' ') last_space = next;
                end = next;
            }
            if (end < line.size() && last_space != std::string::npos && last_space > start) end = last_space;
            rows_.push_back({i, start, end});
            start = end;
        }
    }
    if (rows_.empty()) rows_.push_back({0, 0, 0});
    top_row_ = std::clamp(top_row_, 0, std::max(0, RowCount() - VisibleRows()));
    scroll_x_ = std::clamp(scroll_x_, 0, std::max(0, content_width_ - TextAreaWidth()));
}

void TMemo::Resize()
{
    Layout();
    TCustomControl::Resize();
}

void TMemo::FontChanged() { Layout(); }

TPoint TMemo::CaretPos() const
{
    if (caret_line_ >= lines_.Count()) return {0, caret_line_};
    return {static_cast<int>(ui::utf8::Length(lines_[caret_line_].substr(0, caret_col_))), caret_line_};
}

void TMemo::SetCaretPos(TPoint p)
{
    caret_line_ = std::clamp(p.Y, 0, std::max(0, lines_.Count() - 1));
    caret_col_ = caret_line_ < lines_.Count() ? ui::utf8::OffsetOf(lines_[caret_line_], std::max(0, p.X)) : 0;
    ScrollToCaret();
    Invalidate();
}

int TMemo::RowOfCaret() const
{
    for (int r = 0; r < RowCount(); ++r) {
        const Row& row = rows_[r];
        if (row.line != caret_line_) continue;
        bool last_of_line = r + 1 >= RowCount() || rows_[r + 1].line != caret_line_;
        if (caret_col_ < row.end || last_of_line) return r;
    }
    return 0;
}

void TMemo::SetTopRow(int row)
{
    row = std::clamp(row, 0, std::max(0, RowCount() - VisibleRows()));
    if (row == top_row_) return;
    top_row_ = row;
    Invalidate();
    if (OnScroll && !EventsMuted()) OnScroll(this);
}

void TMemo::ScrollToCaret()
{
    int r = RowOfCaret();
    if (r < top_row_)
        SetTopRow(r);
    else if (r >= top_row_ + VisibleRows())
        SetTopRow(r - VisibleRows() + 1);
}

TScrollInfo TMemo::VertScrollInfo() const
{
    return {0, std::max(0, RowCount() - 1), VisibleRows(), top_row_, HasV()};
}
TScrollInfo TMemo::HorzScrollInfo() const
{
    return {0, std::max(0, content_width_ - 1), TextAreaWidth(), scroll_x_, HasH()};
}

intptr_t TMemo::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    if (Msg == WM_VSCROLL || Msg == WM_HSCROLL) {
        int code = static_cast<int>(WParam & 0xFFFF);
        int pos = static_cast<int>((WParam >> 16) & 0xFFFF);
        if (Msg == WM_VSCROLL) {
            int target = top_row_;
            switch (code) {
            case SB_LINEUP: target--; break;
            case SB_LINEDOWN: target++; break;
            case SB_PAGEUP: target -= VisibleRows(); break;
            case SB_PAGEDOWN: target += VisibleRows(); break;
            case SB_THUMBPOSITION:
            case SB_THUMBTRACK: target = pos; break;
            case SB_TOP: target = 0; break;
            case SB_BOTTOM: target = RowCount(); break;
            }
            SetTopRow(target);
        } else {
            int target = scroll_x_;
            switch (code) {
            case SB_LINEUP: target -= 8; break;
            case SB_LINEDOWN: target += 8; break;
            case SB_PAGEUP: target -= TextAreaWidth(); break;
            case SB_PAGEDOWN: target += TextAreaWidth(); break;
            case SB_THUMBPOSITION:
            case SB_THUMBTRACK: target = pos; break;
            }
            int x = std::clamp(target, 0, std::max(0, content_width_ - TextAreaWidth()));
            if (x != scroll_x_) {
                scroll_x_ = x;
                Invalidate();
                if (OnScroll && !EventsMuted()) OnScroll(this);
            }
        }
        return 0;
    }
    return TCustomControl::Perform(Msg, WParam, LParam);
}

void TMemo::EditLines(const std::function<void()>& edit)
{
    if (lines_.Count() == 0) {
        lines_.BeginUpdate();
        lines_.Add("");
        lines_.EndUpdate();
    }
    lines_.BeginUpdate();
    edit();
    lines_.EndUpdate();
    ScrollToCaret();
}

void TMemo::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    auto line = [&]() -> const std::string& {
        static const std::string empty;
        return caret_line_ < lines_.Count() ? lines_[caret_line_] : empty;
    };
    if (Key == 'A' && (Shift & ssCtrl)) {
        SelectAll();
        return;
    }
    if (Key == VK_DELETE && !read_only_ && DeleteSelection()) {
        ScrollToCaret();
        Invalidate();
        return;
    }
    const bool selected = all_selected_;
    switch (Key) {
    case VK_LEFT:
        if (caret_col_ > 0)
            caret_col_ = ui::utf8::Prev(line(), caret_col_);
        else if (caret_line_ > 0)
            caret_col_ = lines_[--caret_line_].size();
        break;
    case VK_RIGHT:
        if (caret_col_ < line().size())
            caret_col_ = ui::utf8::Next(line(), caret_col_);
        else if (caret_line_ + 1 < lines_.Count()) {
            ++caret_line_;
            caret_col_ = 0;
        }
        break;
    case VK_UP:
    case VK_DOWN: {
        int r = RowOfCaret() + (Key == VK_UP ? -1 : 1);
        if (r < 0 || r >= RowCount()) break;
        const Row& row = rows_[r];
        int chars = static_cast<int>(ui::utf8::Length(line().substr(0, caret_col_)));
        int cur = RowOfCaret();
        chars -= static_cast<int>(ui::utf8::Length(line().substr(0, rows_[cur].start)));
        caret_line_ = row.line;
        const std::string& l = lines_[row.line];
        size_t off =
            row.start + ui::utf8::OffsetOf(l.substr(row.start, row.end - row.start), std::max(0, chars));
        caret_col_ = std::min(off, row.end);
        break;
    }
    case VK_HOME: caret_col_ = rows_[RowOfCaret()].start; break;
    case VK_END: caret_col_ = rows_[RowOfCaret()].end; break;
    case VK_DELETE:
        if (read_only_) break;
        EditLines([&] {
            std::string l = lines_[caret_line_];
            if (caret_col_ < l.size()) {
                l.erase(caret_col_, ui::utf8::Next(l, caret_col_) - caret_col_);
                lines_.SetStrings(caret_line_, l);
            } else if (caret_line_ + 1 < lines_.Count()) {
                lines_.SetStrings(caret_line_, l + lines_[caret_line_ + 1]);
                lines_.Delete(caret_line_ + 1);
            }
        });
        break;
    default: return;
    }
    // Moving the caret ends the selection.
    if (selected) all_selected_ = false;
    ScrollToCaret();
    Invalidate();
}

void TMemo::KeyPress(char32_t& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == 0 || read_only_) return;
    if ((Key == VK_BACK || Key == VK_RETURN || (Key >= 32 && Key != 127)) && DeleteSelection()) {
        if (Key == VK_BACK) return;
    }
    if (Key == VK_BACK) {
        if (caret_col_ == 0 && caret_line_ == 0) return;
        EditLines([&] {
            std::string l = lines_[caret_line_];
            if (caret_col_ > 0) {
                size_t p = ui::utf8::Prev(l, caret_col_);
                l.erase(p, caret_col_ - p);
                caret_col_ = p;
                lines_.SetStrings(caret_line_, l);
            } else {
                std::string prev = lines_[caret_line_ - 1];
                caret_col_ = prev.size();
                lines_.SetStrings(caret_line_ - 1, prev + l);
                lines_.Delete(caret_line_);
                --caret_line_;
            }
        });
        return;
    }
    if (Key == VK_RETURN) {
        EditLines([&] {
            std::string l = lines_[caret_line_];
            lines_.SetStrings(caret_line_, l.substr(0, caret_col_));
            lines_.Insert(caret_line_ + 1, l.substr(caret_col_));
            ++caret_line_;
            caret_col_ = 0;
        });
        return;
    }
    if (Key < 32 || Key == 127) return;
    if (max_length_ > 0 && static_cast<int>(ui::utf8::Length(Text())) >= max_length_) return;
    EditLines([&] {
        std::string l = lines_[caret_line_];
        std::string s = ui::utf8::Encode(Key);
        l.insert(caret_col_, s);
        caret_col_ += s.size();
        lines_.SetStrings(caret_line_, l);
    });
}

void TMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus()) SetFocus();
    if (Button == mbLeft && all_selected_) {
        all_selected_ = false;
        Invalidate();
    }
    if (Button == mbLeft && !rows_.empty()) {
        int r = std::clamp(top_row_ + (Y - kMargin) / LineHeight(), 0, RowCount() - 1);
        const Row& row = rows_[r];
        if (row.line < lines_.Count()) {
            const std::string& l = lines_[row.line];
            int tx = X - kMargin + scroll_x_;
            size_t best = row.start;
            for (size_t i = row.start; i < row.end;) {
                size_t next = ui::utf8::Next(l, i);
                int a = gfx::TextExtent(Font(), l.substr(row.start, i - row.start)).cx;
                int b = gfx::TextExtent(Font(), l.substr(row.start, next - row.start)).cx;
                if (tx < (a + b) / 2) break;
                best = next;
                i = next;
            }
            caret_line_ = row.line;
            caret_col_ = best;
            Invalidate();
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TMemo::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopRow(top_row_ - WheelDelta / 40);
    return true;
}

void TMemo::PaintNonClient(TCanvas& canvas)
{
    int e = border_style_ == bsSingle ? 2 : 0;
    if (e) ui::DrawSunkenEdge(canvas, {0, 0, Width(), Height()});
    if (HasV()) {
        ui::ScrollBarPart bar(sbVertical);
        bar.SetRange(0, std::max(0, RowCount() - 1), VisibleRows());
        bar.SetPos(top_row_);
        bar.SetRect({Width() - e - kBar, e, Width() - e, Height() - e - (HasH() ? kBar : 0)});
        bar.Paint(canvas);
    }
    if (HasH()) {
        ui::ScrollBarPart bar(sbHorizontal);
        bar.SetRange(0, std::max(0, content_width_ - 1), TextAreaWidth());
        bar.SetPos(scroll_x_);
        bar.SetRect({e, Height() - e - kBar, Width() - e - (HasV() ? kBar : 0), Height() - e});
        bar.Paint(canvas);
    }
}

void TMemo::Paint(TCanvas& canvas)
{
    canvas.Brush().SetColor(EffectivelyEnabled() ? Color() : clBtnFace);
    canvas.FillRect(ClientRect());
    canvas.Brush().SetStyle(bsClear);
    int lh = LineHeight();
    int caret_row = RowOfCaret();
    int last = std::min(RowCount(), top_row_ + VisibleRows() + 1);
    for (int r = top_row_; r < last; ++r) {
        const Row& row = rows_[r];
        if (row.line >= lines_.Count()) continue;
        const std::string& l = lines_[row.line];
        int y = kMargin + (r - top_row_) * lh;
        const std::string shown = l.substr(row.start, row.end - row.start);
        if (all_selected_ && Focused()) {
            canvas.Brush().SetColor(clHighlight);
            canvas.FillRect(
                {kMargin - scroll_x_, y, kMargin - scroll_x_ + gfx::TextExtent(Font(), shown).cx, y + lh});
            canvas.Brush().SetStyle(bsClear);
            canvas.Font().SetColor(clHighlightText);
        } else {
            canvas.Font().SetColor(Font().Color());
        }
        canvas.TextOut(kMargin - scroll_x_, y, shown);
        if (Focused() && r == caret_row) {
            int x =
                kMargin - scroll_x_ + gfx::TextExtent(Font(), l.substr(row.start, caret_col_ - row.start)).cx;
            canvas.Pen().SetColor(clWindowText);
            canvas.MoveTo(x, y);
            canvas.LineTo(x, y + lh);
        }
    }
    if (Focused() && lines_.Count() == 0) {
        canvas.Pen().SetColor(clWindowText);
        canvas.MoveTo(kMargin, kMargin);
        canvas.LineTo(kMargin, kMargin + lh);
    }
}
