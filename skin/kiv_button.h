#pragma once
// TkivButton: the push button of the skinned forms, plain for now.
#include "platform/ui/button.h"

class TkivButton : public TButton {
public:
    explicit TkivButton(TComponent* AOwner = nullptr);
};
