#include "skin/kiv_locale.h"

#include "platform/ui/bidi.h"

namespace skin {

// The platform's controls follow the same rule: both sides of a control
// agree on where its bars and buttons lie.
bool MiddleEastLocale() { return ui::MiddleEastLocale(); }

bool UseRightToLeftLayout(TBiDiMode mode) { return ui::UseRightToLeftLayout(mode); }

bool UseRightToLeftLayout(const TControl& control) { return ui::UseRightToLeftLayout(control); }

}  // namespace skin
