#pragma once
// TScrollBox: a container whose children may extend past its client area;
// scrolling moves the children. With AutoSize it grows to hold them.
#include "platform/ui/control.h"

class TScrollBox : public TCustomControl {
public:
    explicit TScrollBox(TComponent* AOwner = nullptr);

    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle s);
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);
    bool AutoScroll() const { return auto_scroll_; }
    void SetAutoScroll(bool on);
    // Moves every child by (dx, dy).
    void ScrollBy(int dx, int dy);
    // Scroll positions in pixels (0 at the top-left of the content).
    int HorzPosition() const { return pos_x_; }
    int VertPosition() const { return pos_y_; }
    void SetHorzPosition(int x);
    void SetVertPosition(int y);
    // Scrolls so that the control (a child) is in view.
    void ScrollInView(TControl* control);
    TScrollInfo VertScrollInfo() const;
    TScrollInfo HorzScrollInfo() const;

    TRect NonClientInsets() const override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;

protected:
    void ChildChanged(TControl* child) override;
    void Resize() override;

private:
    TRect ContentExtent() const;  // children's extent in content coordinates
    void UpdateRange();
    TBorderStyle border_style_ = bsSingle;
    bool auto_size_ = false;
    bool auto_scroll_ = true;
    int pos_x_ = 0, pos_y_ = 0;
    int range_x_ = 0, range_y_ = 0;  // content size
    bool hbar_ = false, vbar_ = false;
    bool updating_ = false;
};
