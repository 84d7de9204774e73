#pragma once
// A colour of a control's look, with the fall-back every skinned control
// uses for a skin that lacks it.
#include "platform/gfx/types.h"

class TkivFileTheme;
enum class TkivUIStyle : unsigned char;

namespace skin {

// The skin's colour `skinIndex` when the control uses its file theme (the
// built-in DeepBlue colour at `position` where the skin lacks it), else the
// built-in colour at `position` of the effective style.
TColor StyleColour(bool usingFileTheme, const TkivFileTheme* theme, int skinIndex, TkivUIStyle effective,
                   int position);

}  // namespace skin
