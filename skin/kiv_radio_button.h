#pragma once
// TkivRadioButton: one of a group of choices. The radio buttons that share
// a parent form one group: checking one clears the others.
#include "platform/ui/control.h"

class TkivRadioButton : public TCustomControl {
public:
    explicit TkivRadioButton(TComponent* AOwner = nullptr);

    bool Checked() const { return checked_; }
    // Checking raises OnClick (from the user or from code) and clears the
    // other radio buttons of the group.
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
