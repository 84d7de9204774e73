#pragma once
// TkivScrollBar: a stand-alone scroll bar with arrows and a thumb.
#include "platform/ui/control.h"

class TkivScrollBar : public TCustomControl {
public:
    explicit TkivScrollBar(TComponent* AOwner = nullptr);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int PageSize() const { return page_size_; }
    void SetPageSize(int v);
    int SmallChange() const { return small_change_; }
    void SetSmallChange(int v) { small_change_ = v; }
    int LargeChange() const { return large_change_; }
    void SetLargeChange(int v) { large_change_ = v; }
    // Kept within Min and Max - PageSize + 1; a change raises OnChange.
    int Position() const { return position_; }
    void SetPosition(int v);

    TNotifyEvent OnChange;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint(TCanvas& Canvas) override;

private:
    int Length() const { return kind_ == sbHorizontal ? ClientWidth() : ClientHeight(); }
    int Thickness() const { return kind_ == sbHorizontal ? ClientHeight() : ClientWidth(); }
    int HighestPosition() const;
    // Thumb start and length along the bar, arrows excluded.
    void Thumb(int& start, int& length) const;
    TRect AlongRect(int from, int to) const;
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int page_size_ = 0;
    int small_change_ = 1;
    int large_change_ = 1;
    int position_ = 0;
    bool dragging_ = false;
    int drag_offset_ = 0;
};
