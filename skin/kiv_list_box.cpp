#include "skin/kiv_list_box.h"

TkivListBox::TkivListBox(TComponent* AOwner) : TListBox(AOwner) {}
