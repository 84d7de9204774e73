#pragma once
// The classic scroll bar that list controls draw inside their client area:
// geometry, painting and mouse handling of one bar.
#include "platform/gfx/types.h"
#include "platform/ui/ui_types.h"

class TCanvas;

namespace ui {

class ScrollBarPart {
public:
    static constexpr int kSize = 16;
    explicit ScrollBarPart(TScrollBarKind kind) : kind_(kind) {}

    void SetRange(int min, int max, int page);
    int Pos() const { return pos_; }
    // Clamped to Min .. Max - Page + 1.
    void SetPos(int pos);
    int MaxPos() const;
    TScrollInfo Info(bool visible) const { return {min_, max_, page_, pos_, visible}; }
    void SetRect(const TRect& r) { rect_ = r; }
    const TRect& Rect() const { return rect_; }

    void Paint(TCanvas& canvas) const;
    // A press inside the bar: arrows step by `line`, the track pages, the
    // thumb starts a drag. Returns true when the position changed.
    bool MouseDown(TPoint p, int line);
    bool MouseMove(TPoint p);
    void MouseUp() { dragging_ = false; }
    bool Dragging() const { return dragging_; }

private:
    TRect ThumbRect() const;
    int TrackLength() const;
    TScrollBarKind kind_;
    int min_ = 0, max_ = 0, page_ = 1, pos_ = 0;
    TRect rect_{};
    bool dragging_ = false;
    int drag_offset_ = 0;
};

}  // namespace ui
