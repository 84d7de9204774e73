#include "platform/ui/panel.h"

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TBevelCut b)
{
    bevel_outer_ = b;
    Realign();
    Invalidate();
}
void TPanel::SetBevelInner(TBevelCut b)
{
    bevel_inner_ = b;
    Realign();
    Invalidate();
}
void TPanel::SetBevelWidth(int w)
{
    bevel_width_ = w < 1 ? 1 : w;
    Realign();
    Invalidate();
}
void TPanel::SetBorderWidth(int w)
{
    border_width_ = w < 0 ? 0 : w;
    Realign();
    Invalidate();
}
void TPanel::SetBorderStyle(TBorderStyle s)
{
    border_style_ = s;
    Realign();
    Invalidate();
}
void TPanel::SetAlignment(TAlignment a)
{
    alignment_ = a;
    Invalidate();
}

TRect TPanel::NonClientInsets() const { return border_style_ == bsSingle ? TRect{2, 2, 2, 2} : TRect{}; }

void TPanel::AdjustClientRect(TRect& r) const
{
    int inset = border_width_;
    if (bevel_outer_ != bvNone) inset += bevel_width_;
    if (bevel_inner_ != bvNone) inset += bevel_width_;
    r = r.Inflate(-inset, -inset);
}

void TPanel::PaintNonClient(TCanvas& canvas)
{
    if (border_style_ == bsSingle) ui::DrawSunkenEdge(canvas, {0, 0, Width(), Height()});
}

void TPanel::Paint(TCanvas& canvas)
{
    TRect r = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        for (int i = 0; i < bevel_width_; ++i) {
            if (cut != bvSpace) ui::DrawEdge1(canvas, r, cut == bvRaised);
            r = r.Inflate(-1, -1);
        }
    };
    bevel(bevel_outer_);
    r = r.Inflate(-border_width_, -border_width_);
    bevel(bevel_inner_);
    if (!Caption().empty()) {
        canvas.Brush().SetStyle(bsClear);
        unsigned align = alignment_ == taCenter         ? DT_CENTER
                         : alignment_ == taRightJustify ? DT_RIGHT
                                                        : DT_LEFT;
        canvas.DrawText(Caption(), r, align | DT_VCENTER | DT_SINGLELINE);
    }
}
