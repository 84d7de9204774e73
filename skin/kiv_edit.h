#pragma once
// TkivEdit: a one-line text box, with the plain look for now.
#include "platform/ui/edit.h"

class TkivEdit : public TEdit {
public:
    explicit TkivEdit(TComponent* AOwner = nullptr);
};
