#include "skin/kiv_edit.h"

TkivEdit::TkivEdit(TComponent* AOwner) : TEdit(AOwner) {}
