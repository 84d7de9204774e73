#include "skin/kiv_radio_button.h"

TkivRadioButton::TkivRadioButton(TComponent* AOwner) : TkivCheckBox(AOwner)
{
    SetControlStyle(ControlStyle() | csDoubleClicks);
}

void TkivRadioButton::Changed()
{
    if (!Checked()) return;
    if (Parent()) {
        // A sibling's own Changed does nothing when it is cleared.
        const std::vector<TControl*> siblings = Parent()->Children();
        for (TControl* sibling : siblings) {
            auto* radio = dynamic_cast<TkivRadioButton*>(sibling);
            if (radio && radio != this && radio->GroupIndex() == group_index_) radio->SetChecked(false);
        }
    }
    FireClick();
}

void TkivRadioButton::Toggle()
{
    if (!Checked()) SetChecked(true);
}
