#include "skin/kiv_combo_box.h"

TkivComboBox::TkivComboBox(TComponent* AOwner) : TComboBox(AOwner) {}
