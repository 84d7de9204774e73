#pragma once
// Right-to-left layout: a control lays itself out right to left (its
// vertical scroll bar and drop-down button on the left, its text from the
// right) when its BiDiMode is bdRightToLeft or bdRightToLeftNoAlign and the
// system locale is a Middle-East one.
#include "platform/ui/ui_types.h"

class TControl;

namespace ui {

// Whether the system locale is one whose scripts run right to left
// (Arabic, Hebrew, Persian, Urdu and their neighbours), read from the
// locale variables as the C library does.
bool MiddleEastLocale();
bool UseRightToLeftLayout(TBiDiMode mode);
bool UseRightToLeftLayout(const TControl& control);

}  // namespace ui
