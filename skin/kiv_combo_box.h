#pragma once
// TkivComboBox: a drop-down list of text items, with the plain look for now.
#include "platform/ui/combobox.h"

class TkivComboBox : public TComboBox {
public:
    explicit TkivComboBox(TComponent* AOwner = nullptr);
};
