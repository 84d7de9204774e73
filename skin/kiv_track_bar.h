#pragma once
// TkivTrackBar: a slider whose thumb chooses Position between Min and Max.
#include "platform/ui/control.h"

class TkivTrackBar : public TCustomControl {
public:
    explicit TkivTrackBar(TComponent* AOwner = nullptr);

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    // Kept within Min and Max; a change raises OnChange.
    int Position() const { return position_; }
    void SetPosition(int v);

    TNotifyEvent OnChange;

    unsigned WantedKeys() const override { return dlgcWantArrows; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void Paint(TCanvas& Canvas) override;

private:
    int PositionAt(int x) const;
    int ThumbX() const;
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    bool dragging_ = false;
};
