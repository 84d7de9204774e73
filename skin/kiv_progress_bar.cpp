#include "skin/kiv_progress_bar.h"

#include <algorithm>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"

TkivProgressBar::TkivProgressBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 150, 16);
}

void TkivProgressBar::SetMin(int v)
{
    min_ = v;
    if (max_ < min_) max_ = min_;
    SetPosition(position_);
    Invalidate();
}

void TkivProgressBar::SetMax(int v)
{
    max_ = v;
    if (min_ > max_) min_ = max_;
    SetPosition(position_);
    Invalidate();
}

void TkivProgressBar::SetPosition(int v)
{
    v = std::clamp(v, min_, max_);
    if (v == position_) return;
    position_ = v;
    Invalidate();
}

void TkivProgressBar::SetOrientation(TkivProgressBarOrientation o)
{
    orientation_ = o;
    Invalidate();
}

void TkivProgressBar::SetShowCaption(bool on)
{
    show_caption_ = on;
    Invalidate();
}

void TkivProgressBar::Paint(TCanvas& Canvas)
{
    const TRect all = ClientRect();
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(all);
    ui::DrawSunkenEdge(Canvas, all);
    const TRect inner{all.Left + 2, all.Top + 2, all.Right - 2, all.Bottom - 2};
    const double span = max_ > min_ ? static_cast<double>(max_ - min_) : 1.0;
    const double part = (position_ - min_) / span;
    TRect bar = inner;
    if (orientation_ == kivHorizontal) {
        bar.Right = inner.Left + static_cast<int>(inner.Width() * part);
    } else {
        bar.Top = inner.Bottom - static_cast<int>(inner.Height() * part);
    }
    Canvas.Brush().SetColor(clHighlight);
    if (bar.Width() > 0 && bar.Height() > 0) Canvas.FillRect(bar);
    if (show_caption_) {
        const std::string text = std::to_string(static_cast<int>(part * 100)) + "%";
        Canvas.Font().Assign(Font());
        Canvas.Brush().SetStyle(bsClear);
        Canvas.TextOut((ClientWidth() - Canvas.TextWidth(text)) / 2,
                       (ClientHeight() - Canvas.TextHeight(text)) / 2, text);
    }
}
