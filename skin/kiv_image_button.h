#pragma once
// TkivImageButton: a push button that shows a picture (a banner, say) in
// place of its face while it has one.
#include "platform/ui/button.h"
#include "platform/ui/image.h"

class TkivImageButton : public TButton {
public:
    explicit TkivImageButton(TComponent* AOwner = nullptr);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }

    void Paint(TCanvas& Canvas) override;

private:
    TPicture picture_;
};
