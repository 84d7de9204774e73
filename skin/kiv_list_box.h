#pragma once
// TkivListBox: a list of text items, with the plain look for now.
#include "platform/ui/listbox.h"

class TkivListBox : public TListBox {
public:
    explicit TkivListBox(TComponent* AOwner = nullptr);
};
