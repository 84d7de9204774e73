#pragma once
// TPanel: a container with optional bevels and a centred caption.
#include "platform/ui/control.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner = nullptr);

    TBevelCut BevelOuter() const { return bevel_outer_; }
    void SetBevelOuter(TBevelCut b);
    TBevelCut BevelInner() const { return bevel_inner_; }
    void SetBevelInner(TBevelCut b);
    int BevelWidth() const { return bevel_width_; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return border_width_; }
    void SetBorderWidth(int w);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle s);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

    void AdjustClientRect(TRect& Rect) const override;
    TRect NonClientInsets() const override;
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;

private:
    TBevelCut bevel_outer_ = bvRaised;
    TBevelCut bevel_inner_ = bvNone;
    int bevel_width_ = 1;
    int border_width_ = 0;
    TBorderStyle border_style_ = bsNone;
    TAlignment alignment_ = taCenter;
};
