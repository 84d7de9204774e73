#include "skin/kiv_button.h"

TkivButton::TkivButton(TComponent* AOwner) : TButton(AOwner) {}
