#pragma once
// TkivCheckBox: a box with a caption that the user ticks and clears.
#include "platform/ui/control.h"

class TkivCheckBox : public TCustomControl {
public:
    explicit TkivCheckBox(TComponent* AOwner = nullptr);

    bool Checked() const { return checked_; }
    // A change raises OnClick, whether from the user or from code.
    void SetChecked(bool on);

    void Click() override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void Paint(TCanvas& Canvas) override;

protected:
    void TextChanged() override { Invalidate(); }

private:
    bool checked_ = false;
    bool in_click_ = false;
};
