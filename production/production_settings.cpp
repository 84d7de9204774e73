#include "production/production_settings.h"

namespace production {

std::optional<PictureSize> PictureSizeForQuality(std::string_view keyword)
{
    if (keyword == kQualityStandard) return PictureSize{352, 288};
    if (keyword == kQualityHigh) return PictureSize{704, 576};
    if (keyword == kQualityHighest) return PictureSize{1408, 1152};
    return std::nullopt;
}

}  // namespace production
