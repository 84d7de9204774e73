#include "skin/kiv_style_colour.h"

#include <cstdint>

#include "skin/kiv_file_theme.h"
#include "skin/kiv_themes.h"

namespace skin {

TColor StyleColour(bool usingFileTheme, const TkivFileTheme* theme, int skinIndex, TkivUIStyle effective,
                   int position)
{
    if (usingFileTheme && theme) {
        const std::int32_t colour = theme->GetColor(static_cast<std::uint8_t>(skinIndex));
        if (colour >= 0) return static_cast<TColor>(colour);
        return GetBuiltInColor(TkivUIStyle::DeepBlue, position);
    }
    return GetBuiltInColor(effective, position);
}

}  // namespace skin
