#include "skin/kiv_popup_menu.h"

void TkivPopupMenu::SetMenuItemHeight(int value)
{
    if (UIStyle() != TkivUIStyle::MacOS) TkivMenuBase<TPopupMenu>::SetMenuItemHeight(value);
}
