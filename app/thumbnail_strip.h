#pragma once
// The thumbnail strip's frame: a group box that also marks the frame of
// the selected slot, around that frame, in the style's highlight colour.
#include <functional>

#include "skin/kiv_group_box.h"

namespace app {

class TThumbnailStrip : public TkivGroupBox {
public:
    explicit TThumbnailStrip(TComponent* AOwner = nullptr) : TkivGroupBox(AOwner) {}

    // The frame to mark, read at every paint; none marks nothing.
    std::function<const TControl*()> SelectedFrame;

    // The colour the skin or built-in style gives a selected menu item's
    // border, with the skinned controls' fall-back for a skin without it.
    TColor MarkColor() const;
    void Paint(TCanvas& Canvas) override;
};

}  // namespace app
