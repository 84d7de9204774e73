#include "skin/kiv_scroll_bar.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"

TkivScrollBar::TkivScrollBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 121, 17);
}

void TkivScrollBar::SetKind(TScrollBarKind kind)
{
    if (kind == kind_) return;
    kind_ = kind;
    SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TkivScrollBar::SetMin(int v)
{
    min_ = v;
    if (max_ < min_) max_ = min_;
    SetPosition(position_);
    Invalidate();
}

void TkivScrollBar::SetMax(int v)
{
    max_ = v;
    if (min_ > max_) min_ = max_;
    SetPosition(position_);
    Invalidate();
}

void TkivScrollBar::SetPageSize(int v)
{
    page_size_ = std::max(0, v);
    SetPosition(position_);
    Invalidate();
}

int TkivScrollBar::HighestPosition() const
{
    return std::max(min_, max_ - std::max(page_size_ - 1, 0));
}

void TkivScrollBar::SetPosition(int v)
{
    v = std::clamp(v, min_, HighestPosition());
    if (v == position_) return;
    position_ = v;
    Invalidate();
    if (OnChange && !EventsMuted()) OnChange(this);
}

void TkivScrollBar::Thumb(int& start, int& length) const
{
    const int arrow = Thickness();
    const int track = std::max(0, Length() - 2 * arrow);
    const int range = max_ - min_ + 1;
    length = page_size_ > 0 && range > 0 ? track * page_size_ / range : arrow;
    length = std::clamp(length, std::min(8, track), track);
    const int travel = track - length;
    const int positions = HighestPosition() - min_;
    start = arrow + (positions > 0 ? travel * (position_ - min_) / positions : 0);
}

TRect TkivScrollBar::AlongRect(int from, int to) const
{
    return kind_ == sbHorizontal ? TRect{from, 0, to, ClientHeight()} : TRect{0, from, ClientWidth(), to};
}

void TkivScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int at = kind_ == sbHorizontal ? X : Y;
    int start, length;
    Thumb(start, length);
    if (at < Thickness()) SetPosition(position_ - small_change_);
    else if (at >= Length() - Thickness()) SetPosition(position_ + small_change_);
    else if (at < start) SetPosition(position_ - large_change_);
    else if (at >= start + length) SetPosition(position_ + large_change_);
    else {
        dragging_ = true;
        drag_offset_ = at - start;
    }
}

void TkivScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    const int at = (kind_ == sbHorizontal ? X : Y) - drag_offset_;
    int start, length;
    Thumb(start, length);
    const int travel = std::max(1, Length() - 2 * Thickness() - length);
    const int positions = HighestPosition() - min_;
    SetPosition(min_ + (at - Thickness()) * positions / travel);
}

void TkivScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    dragging_ = false;
}

void TkivScrollBar::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(clSilver);
    Canvas.FillRect(ClientRect());
    const int arrow = Thickness();
    ui::DrawButtonFace(Canvas, AlongRect(0, arrow), false, false);
    ui::DrawButtonFace(Canvas, AlongRect(Length() - arrow, Length()), false, false);
    int start, length;
    Thumb(start, length);
    if (length > 0 && EffectivelyEnabled()) ui::DrawButtonFace(Canvas, AlongRect(start, start + length), false, false);
}
