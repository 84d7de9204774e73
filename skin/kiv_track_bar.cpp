#include "skin/kiv_track_bar.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"

namespace {
constexpr int kThumbWidth = 11;
}

TkivTrackBar::TkivTrackBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetFocusable(true);
    SetBounds(0, 0, 150, 45);
}

void TkivTrackBar::SetMin(int v)
{
    min_ = v;
    if (max_ < min_) max_ = min_;
    SetPosition(position_);
    Invalidate();
}

void TkivTrackBar::SetMax(int v)
{
    max_ = v;
    if (min_ > max_) min_ = max_;
    SetPosition(position_);
    Invalidate();
}

void TkivTrackBar::SetPosition(int v)
{
    v = std::clamp(v, min_, max_);
    if (v == position_) return;
    position_ = v;
    Invalidate();
    if (OnChange && !EventsMuted()) OnChange(this);
}

int TkivTrackBar::PositionAt(int x) const
{
    const int track = ClientWidth() - kThumbWidth;
    if (track <= 0 || max_ == min_) return min_;
    const double part = static_cast<double>(x - kThumbWidth / 2) / track;
    return min_ + static_cast<int>(std::lround(std::clamp(part, 0.0, 1.0) * (max_ - min_)));
}

int TkivTrackBar::ThumbX() const
{
    const int track = ClientWidth() - kThumbWidth;
    if (track <= 0 || max_ == min_) return 0;
    return static_cast<int>(static_cast<double>(position_ - min_) / (max_ - min_) * track);
}

void TkivTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (CanFocus()) SetFocus();
    dragging_ = true;
    SetPosition(PositionAt(X));
}

void TkivTrackBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (dragging_) SetPosition(PositionAt(X));
}

void TkivTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    dragging_ = false;
}

void TkivTrackBar::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_RIGHT || Key == VK_DOWN) SetPosition(position_ + 1);
    else if (Key == VK_LEFT || Key == VK_UP) SetPosition(position_ - 1);
    else if (Key == VK_HOME) SetPosition(min_);
    else if (Key == VK_END) SetPosition(max_);
    else return;
    Key = 0;
}

void TkivTrackBar::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
    const int mid = ClientHeight() / 2;
    ui::DrawSunkenEdge(Canvas, {kThumbWidth / 2, mid - 2, ClientWidth() - kThumbWidth / 2, mid + 2});
    const int x = ThumbX();
    ui::DrawButtonFace(Canvas, {x, mid - 10, x + kThumbWidth, mid + 10}, false, false);
}
