#pragma once
// TkivGroupBox: a frame with a caption that holds other controls. Children
// keep the positions they are given (measured from the box's top-left).
#include "platform/ui/control.h"

class TkivGroupBox : public TCustomControl {
public:
    explicit TkivGroupBox(TComponent* AOwner = nullptr);
    void Paint(TCanvas& Canvas) override;

protected:
    void TextChanged() override { Invalidate(); }
};
