#pragma once
// The one rule that decides whether a control lays itself out right to
// left: a right-to-left BiDiMode on a Middle-East system locale. Every
// skinned control asks here.
#include "platform/ui/ui_types.h"

class TControl;

namespace skin {

// Whether the system locale is one whose scripts run right to left
// (Arabic, Hebrew, Persian, Urdu and their neighbours), read from the
// locale variables as the C library does.
bool MiddleEastLocale();
// Right-to-left layout: bdRightToLeft or bdRightToLeftNoAlign on a
// Middle-East system locale.
bool UseRightToLeftLayout(TBiDiMode mode);
bool UseRightToLeftLayout(const TControl& control);

}  // namespace skin
