#pragma once
// TkivImagePanel: a panel that can show a picture behind its children.
#include "platform/ui/image.h"
#include "platform/ui/panel.h"

class TkivImagePanel : public TPanel {
public:
    explicit TkivImagePanel(TComponent* AOwner = nullptr);

    TPicture& Picture() { return picture_; }
    void Paint(TCanvas& Canvas) override;

private:
    TPicture picture_;
};
