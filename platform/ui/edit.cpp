#include "platform/ui/edit.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/draw.h"
#include "platform/ui/utf8.h"

namespace {
constexpr int kMargin = 2;

bool IsWordChar(char32_t c)
{
    return c > 127 || (c >= '0' && c <= '9') || ((c | 32) >= 'a' && (c | 32) <= 'z') || c == '_';
}
}  // namespace

TEdit::TEdit(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetCursor(crIBeam);
    SetBounds(0, 0, 121, 21);
}

void TEdit::SetPasswordChar(char32_t c)
{
    password_char_ = c;
    Invalidate();
}

void TEdit::SetBorderStyle(TBorderStyle s)
{
    border_style_ = s;
    Realign();
    Invalidate();
}

TRect TEdit::NonClientInsets() const { return border_style_ == bsSingle ? TRect{2, 2, 2, 2} : TRect{}; }

void TEdit::TextChanged()
{
    size_t n = Text().size();
    // Keep the caret on a character boundary inside the new text.
    if (!in_edit_) {
        anchor_ = caret_ = n;
        scroll_x_ = 0;
    }
    anchor_ = std::min(anchor_, n);
    caret_ = std::min(caret_, n);
    Change();
}

void TEdit::Change()
{
    if (OnChange && !EventsMuted()) OnChange(this);
}

int TEdit::SelStart() const { return static_cast<int>(ui::utf8::Length(Text().substr(0, SelMin()))); }

void TEdit::SetSelStart(int chars)
{
    size_t off = ui::utf8::OffsetOf(Text(), std::max(0, chars));
    anchor_ = caret_ = off;
    ScrollToCaret();
    Invalidate();
}

int TEdit::SelLength() const
{
    return static_cast<int>(ui::utf8::Length(Text().substr(SelMin(), SelMax() - SelMin())));
}

void TEdit::SetSelLength(int chars)
{
    size_t start = SelMin();
    std::string rest = Text().substr(start);
    anchor_ = start;
    caret_ = start + ui::utf8::OffsetOf(rest, std::max(0, chars));
    ScrollToCaret();
    Invalidate();
}

std::string TEdit::SelText() const { return Text().substr(SelMin(), SelMax() - SelMin()); }

void TEdit::Replace(const std::string& inserted)
{
    std::string text = Text();
    size_t a = SelMin(), b = SelMax();
    std::string piece = inserted;
    if (max_length_ > 0) {
        size_t room_chars = 0;
        size_t kept = ui::utf8::Length(text) - ui::utf8::Length(text.substr(a, b - a));
        if (static_cast<size_t>(max_length_) > kept) room_chars = max_length_ - kept;
        piece = piece.substr(0, ui::utf8::OffsetOf(piece, room_chars));
    }
    text.replace(a, b - a, piece);
    anchor_ = caret_ = a + piece.size();
    in_edit_ = true;
    modified_ = true;
    SetText(text);
    in_edit_ = false;
    ScrollToCaret();
    Invalidate();
}

void TEdit::SetSelText(const std::string& text) { Replace(text); }

void TEdit::SelectAll()
{
    anchor_ = 0;
    caret_ = Text().size();
    ScrollToCaret();
    Invalidate();
}

void TEdit::ClearSelection()
{
    if (SelMin() != SelMax()) Replace("");
}

void TEdit::CopyToClipboard()
{
    if (password_char_ || SelMin() == SelMax()) return;
    Clipboard().SetAsText(SelText());
}

void TEdit::CutToClipboard()
{
    if (read_only_) return;
    CopyToClipboard();
    ClearSelection();
}

void TEdit::PasteFromClipboard()
{
    if (read_only_) return;
    std::string t = Clipboard().AsText();
    // One line: the text up to the first line break.
    size_t br = t.find_first_of("\r\n");
    if (br != std::string::npos) t.resize(br);
    Replace(t);
}

std::string TEdit::Display() const
{
    if (!password_char_) return Text();
    std::string out;
    for (size_t i = 0, n = ui::utf8::Length(Text()); i < n; ++i) ui::utf8::Append(out, password_char_);
    return out;
}

int TEdit::XOfOffset(size_t offset) const
{
    std::string prefix = Text().substr(0, offset);
    if (password_char_) {
        std::string masked;
        for (size_t i = 0, n = ui::utf8::Length(prefix); i < n; ++i) ui::utf8::Append(masked, password_char_);
        prefix = masked;
    }
    return gfx::TextExtent(Font(), prefix).cx;
}

size_t TEdit::OffsetAtX(int x) const
{
    int tx = x - kMargin + scroll_x_;
    const std::string& t = Text();
    size_t best = 0;
    int prev_x = 0;
    for (size_t i = 0; i < t.size();) {
        size_t next = ui::utf8::Next(t, i);
        int nx = XOfOffset(next);
        if (tx < (prev_x + nx) / 2) return i;
        best = next;
        prev_x = nx;
        i = next;
    }
    return best;
}

void TEdit::ScrollToCaret()
{
    int cw = std::max(1, ClientWidth() - 2 * kMargin);
    int x = XOfOffset(caret_);
    if (x - scroll_x_ > cw) scroll_x_ = x - cw;
    if (x < scroll_x_) scroll_x_ = x;
    if (scroll_x_ < 0) scroll_x_ = 0;
}

void TEdit::MoveCaret(size_t offset, bool extend)
{
    caret_ = std::min(offset, Text().size());
    if (!extend) anchor_ = caret_;
    ScrollToCaret();
    Invalidate();
}

void TEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const std::string& t = Text();
    bool shift = Shift & ssShift, ctrl = Shift & ssCtrl;
    switch (Key) {
    case VK_LEFT:
        if (!shift && SelMin() != SelMax())
            MoveCaret(SelMin(), false);
        else if (ctrl) {
            size_t i = caret_;
            while (i > 0 && !IsWordChar(ui::utf8::Decode(t, ui::utf8::Prev(t, i)))) i = ui::utf8::Prev(t, i);
            while (i > 0 && IsWordChar(ui::utf8::Decode(t, ui::utf8::Prev(t, i)))) i = ui::utf8::Prev(t, i);
            MoveCaret(i, shift);
        } else
            MoveCaret(ui::utf8::Prev(t, caret_), shift);
        break;
    case VK_RIGHT:
        if (!shift && SelMin() != SelMax())
            MoveCaret(SelMax(), false);
        else if (ctrl) {
            size_t i = caret_;
            while (i < t.size() && IsWordChar(ui::utf8::Decode(t, i))) i = ui::utf8::Next(t, i);
            while (i < t.size() && !IsWordChar(ui::utf8::Decode(t, i))) i = ui::utf8::Next(t, i);
            MoveCaret(i, shift);
        } else
            MoveCaret(ui::utf8::Next(t, caret_), shift);
        break;
    case VK_HOME: MoveCaret(0, shift); break;
    case VK_END: MoveCaret(t.size(), shift); break;
    case VK_DELETE:
        if (read_only_) break;
        if (shift) {
            CutToClipboard();
        } else if (SelMin() == SelMax()) {
            if (caret_ < t.size()) {
                anchor_ = ui::utf8::Next(t, caret_);
                Replace("");
            }
        } else {
            Replace("");
        }
        break;
    case VK_INSERT:
        if (ctrl)
            CopyToClipboard();
        else if (shift)
            PasteFromClipboard();
        break;
    case 'A':
        if (ctrl) SelectAll();
        break;
    case 'C':
        if (ctrl) CopyToClipboard();
        break;
    case 'X':
        if (ctrl) CutToClipboard();
        break;
    case 'V':
        if (ctrl) PasteFromClipboard();
        break;
    default: return;
    }
}

void TEdit::KeyPress(char32_t& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == 0 || read_only_) return;
    if (Key == VK_BACK) {
        if (SelMin() == SelMax()) {
            if (caret_ == 0) return;
            anchor_ = ui::utf8::Prev(Text(), caret_);
        }
        Replace("");
        return;
    }
    if (Key < 32 || Key == 127) return;
    Replace(ui::utf8::Encode(Key));
}

void TEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        bool was_focused = Focused();
        if (CanFocus()) SetFocus();
        if (was_focused || !auto_select_ || (Shift & ssShift))
            MoveCaret(OffsetAtX(X), Shift & ssShift);
        else
            MoveCaret(OffsetAtX(X), false);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TEdit::MouseMove(TShiftState Shift, int X, int Y)
{
    if ((Shift & ssLeft) && MouseCapture()) MoveCaret(OffsetAtX(X), true);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TEdit::DblClick()
{
    const std::string& t = Text();
    size_t a = caret_, b = caret_;
    while (a > 0 && IsWordChar(ui::utf8::Decode(t, ui::utf8::Prev(t, a)))) a = ui::utf8::Prev(t, a);
    while (b < t.size() && IsWordChar(ui::utf8::Decode(t, b))) b = ui::utf8::Next(t, b);
    anchor_ = a;
    caret_ = b;
    Invalidate();
    TCustomControl::DblClick();
}

void TEdit::DoEnter()
{
    if (auto_select_) SelectAll();
    TCustomControl::DoEnter();
}

void TEdit::PaintNonClient(TCanvas& canvas)
{
    if (border_style_ == bsSingle) ui::DrawSunkenEdge(canvas, {0, 0, Width(), Height()});
}

void TEdit::Paint(TCanvas& canvas)
{
    TRect r = ClientRect();
    canvas.Brush().SetColor(EffectivelyEnabled() ? Color() : clBtnFace);
    canvas.FillRect(r);
    std::string shown = Display();
    int th = gfx::TextExtent(Font(), "Wg").cy;
    int y = (r.Height() - th) / 2;
    int x0 = kMargin - scroll_x_;
    if (!EffectivelyEnabled()) canvas.Font().SetColor(clGrayText);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(x0, y, shown);
    bool focused = Focused();
    if (focused && SelMin() != SelMax()) {
        int xa = x0 + XOfOffset(SelMin()), xb = x0 + XOfOffset(SelMax());
        canvas.Brush().SetColor(clHighlight);
        canvas.FillRect({xa, y, xb, y + th});
        canvas.Font().SetColor(clHighlightText);
        canvas.Brush().SetStyle(bsClear);
        TCanvasStateSaver saver(canvas);
        canvas.IntersectClipRect({xa, y, xb, y + th});
        canvas.TextOut(x0, y, shown);
    }
    if (focused) {
        int xc = x0 + XOfOffset(caret_);
        canvas.Pen().SetColor(clWindowText);
        canvas.MoveTo(xc, y);
        canvas.LineTo(xc, y + th);
    }
}
