#pragma once
// TkivProgressBar: how far a job has come, Position between Min and Max.
#include "platform/ui/control.h"

enum TkivProgressBarOrientation { kivHorizontal, kivVertical };

class TkivProgressBar : public TCustomControl {
public:
    explicit TkivProgressBar(TComponent* AOwner = nullptr);

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    // Kept within Min and Max.
    int Position() const { return position_; }
    void SetPosition(int v);
    void StepBy(int delta) { SetPosition(position_ + delta); }
    TkivProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TkivProgressBarOrientation o);
    bool ShowCaption() const { return show_caption_; }
    void SetShowCaption(bool on);

    void Paint(TCanvas& Canvas) override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    TkivProgressBarOrientation orientation_ = kivHorizontal;
    bool show_caption_ = false;
};
