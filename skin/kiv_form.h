#pragma once
// TkivForm: the panel that fills a skinned form and carries its caption
// strip. Plain for now; the skinned frame and title bar come later.
#include "platform/ui/control.h"

class TkivForm : public TCustomControl {
public:
    explicit TkivForm(TComponent* AOwner = nullptr);

    // Height of the caption strip at the top of the panel.
    static constexpr int kCaptionHeight = 24;

    void Paint(TCanvas& Canvas) override;

protected:
    void TextChanged() override { Invalidate(); }
};
