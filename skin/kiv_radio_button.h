#pragma once
// TkivRadioButton: a check box that only the user or code checks; checking
// one clears the radio buttons of the same parent with the same GroupIndex.
// OnClick fires only when it becomes checked.
#include "skin/kiv_check_box.h"

class TkivRadioButton : public TkivCheckBox {
public:
    explicit TkivRadioButton(TComponent* AOwner = nullptr);

    int GroupIndex() const { return group_index_; }
    void SetGroupIndex(int index) { group_index_ = index; }

protected:
    bool GetPicTransparent() const override { return true; }
    int GetBuiltInItem() const override { return 4; }
    std::uint8_t GetFileThemeBitmap() const override { return 18; }  // "SKIN2_RADIOBUTTON"
    int FileThemeCells() const override { return 4; }
    void Changed() override;
    void Toggle() override;
    bool KeyToggles() const override { return false; }

private:
    int group_index_ = 0;
};
