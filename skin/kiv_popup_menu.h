#pragma once
// TkivPopupMenu: a popup menu whose items draw themselves in the colours
// of the current UI style (the base of the title bar's system menu).
#include "skin/kiv_menu_drawing.h"

class TkivPopupMenu : public TkivMenuBase<TPopupMenu> {
public:
    explicit TkivPopupMenu(TComponent* AOwner = nullptr) : TkivMenuBase<TPopupMenu>(AOwner) {}

    // Ignored while the style is MacOS.
    void SetMenuItemHeight(int value) override;
};
