#include "platform/ui/scrollbox.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"
#include "platform/ui/scrollbar_part.h"

namespace {
constexpr int kBar = ui::ScrollBarPart::kSize;
}

TScrollBox::TScrollBox(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TScrollBox::SetBorderStyle(TBorderStyle s)
{
    border_style_ = s;
    UpdateRange();
    Invalidate();
}

void TScrollBox::SetAutoSize(bool on)
{
    auto_size_ = on;
    UpdateRange();
}

void TScrollBox::SetAutoScroll(bool on)
{
    auto_scroll_ = on;
    UpdateRange();
    Invalidate();
}

TRect TScrollBox::NonClientInsets() const
{
    int e = border_style_ == bsSingle ? 2 : 0;
    return {e, e, e + (vbar_ ? kBar : 0), e + (hbar_ ? kBar : 0)};
}

TRect TScrollBox::ContentExtent() const
{
    TRect r{};
    for (TControl* c : Children())
        if (c->Visible()) r = r.Union(c->BoundsRect().Offset(pos_x_, pos_y_));
    return r;
}

void TScrollBox::AlignControls(TControl* AControl, TRect& Rect)
{
    TCustomControl::AlignControls(AControl, Rect);
    if (!updating_) UpdateRange();
}

void TScrollBox::ChildChanged(TControl* child)
{
    TCustomControl::ChildChanged(child);
    if (!updating_) UpdateRange();
}

void TScrollBox::Resize()
{
    if (!updating_) UpdateRange();
    TCustomControl::Resize();
}

void TScrollBox::UpdateRange()
{
    if (updating_) return;
    updating_ = true;
    TRect ext = ContentExtent();
    range_x_ = std::max(0, ext.Right);
    range_y_ = std::max(0, ext.Bottom);
    if (auto_size_) {
        int e = border_style_ == bsSingle ? 4 : 0;
        hbar_ = vbar_ = false;
        SetBounds(Left(), Top(), range_x_ + e, range_y_ + e);
    } else if (auto_scroll_) {
        int e = border_style_ == bsSingle ? 4 : 0;
        int w = Width() - e, h = Height() - e;
        bool v = false, hb = false;
        for (int round = 0; round < 2; ++round) {
            v = range_y_ > h - (hb ? kBar : 0);
            hb = range_x_ > w - (v ? kBar : 0);
        }
        vbar_ = v;
        hbar_ = hb;
    } else {
        hbar_ = vbar_ = false;
    }
    // Keep the positions inside the new range.
    int max_x = std::max(0, range_x_ - ClientWidth());
    int max_y = std::max(0, range_y_ - ClientHeight());
    int nx = std::clamp(pos_x_, 0, max_x), ny = std::clamp(pos_y_, 0, max_y);
    if (nx != pos_x_ || ny != pos_y_) {
        int dx = pos_x_ - nx, dy = pos_y_ - ny;
        pos_x_ = nx;
        pos_y_ = ny;
        for (TControl* c : Children()) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    updating_ = false;
    Invalidate();
}

void TScrollBox::ScrollBy(int dx, int dy)
{
    if (!dx && !dy) return;
    updating_ = true;
    for (TControl* c : Children()) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    updating_ = false;
    Invalidate();
}

void TScrollBox::SetHorzPosition(int x)
{
    x = std::clamp(x, 0, std::max(0, range_x_ - ClientWidth()));
    int d = pos_x_ - x;
    pos_x_ = x;
    ScrollBy(d, 0);
}

void TScrollBox::SetVertPosition(int y)
{
    y = std::clamp(y, 0, std::max(0, range_y_ - ClientHeight()));
    int d = pos_y_ - y;
    pos_y_ = y;
    ScrollBy(0, d);
}

void TScrollBox::ScrollInView(TControl* control)
{
    if (!control || control->Parent() != this) return;
    TRect r = control->BoundsRect();
    if (r.Top < 0)
        SetVertPosition(pos_y_ + r.Top);
    else if (r.Bottom > ClientHeight())
        SetVertPosition(pos_y_ + r.Bottom - ClientHeight());
    if (r.Left < 0)
        SetHorzPosition(pos_x_ + r.Left);
    else if (r.Right > ClientWidth())
        SetHorzPosition(pos_x_ + r.Right - ClientWidth());
}

TScrollInfo TScrollBox::VertScrollInfo() const
{
    return {0, std::max(0, range_y_ - 1), ClientHeight(), pos_y_, vbar_};
}
TScrollInfo TScrollBox::HorzScrollInfo() const
{
    return {0, std::max(0, range_x_ - 1), ClientWidth(), pos_x_, hbar_};
}

void TScrollBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // Presses on the bars arrive in client coordinates, right of or below the client area.
    if (Button == mbLeft && vbar_ && X >= ClientWidth() && Y < ClientHeight()) {
        ui::ScrollBarPart bar(sbVertical);
        bar.SetRange(0, std::max(0, range_y_ - 1), ClientHeight());
        bar.SetPos(pos_y_);
        bar.SetRect({ClientWidth(), 0, ClientWidth() + kBar, ClientHeight()});
        if (bar.MouseDown({X, Y}, 16)) SetVertPosition(bar.Pos());
    } else if (Button == mbLeft && hbar_ && Y >= ClientHeight() && X < ClientWidth()) {
        ui::ScrollBarPart bar(sbHorizontal);
        bar.SetRange(0, std::max(0, range_x_ - 1), ClientWidth());
        bar.SetPos(pos_x_);
        bar.SetRect({0, ClientHeight(), ClientWidth(), ClientHeight() + kBar});
        if (bar.MouseDown({X, Y}, 16)) SetHorzPosition(bar.Pos());
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TScrollBox::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, MousePos)) return true;
    if (!vbar_) return false;
    SetVertPosition(pos_y_ - WheelDelta / 3);
    return true;
}

void TScrollBox::Paint(TCanvas& canvas)
{
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
}

void TScrollBox::PaintNonClient(TCanvas& canvas)
{
    int e = border_style_ == bsSingle ? 2 : 0;
    if (e) ui::DrawSunkenEdge(canvas, {0, 0, Width(), Height()});
    if (vbar_) {
        ui::ScrollBarPart bar(sbVertical);
        bar.SetRange(0, std::max(0, range_y_ - 1), ClientHeight());
        bar.SetPos(pos_y_);
        bar.SetRect({Width() - e - kBar, e, Width() - e, e + ClientHeight()});
        bar.Paint(canvas);
    }
    if (hbar_) {
        ui::ScrollBarPart bar(sbHorizontal);
        bar.SetRange(0, std::max(0, range_x_ - 1), ClientWidth());
        bar.SetPos(pos_x_);
        bar.SetRect({e, Height() - e - kBar, e + ClientWidth(), Height() - e});
        bar.Paint(canvas);
    }
    if (vbar_ && hbar_) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect({Width() - e - kBar, Height() - e - kBar, Width() - e, Height() - e});
    }
}
