#include "production/format_preset.h"

namespace production {

std::optional<FormatPreset> FormatPresetFor(std::string_view outputFormat, std::string_view tvSystem)
{
    FormatPreset preset;
    if (outputFormat == "VCD") {
        preset.kind = 0;
    } else if (outputFormat == "SVCD") {
        preset.kind = 1;
    } else if (outputFormat == "DVD") {
        preset.kind = 2;
    } else if (outputFormat == "MP4") {
        preset.kind = 6;
    } else {
        return std::nullopt;
    }
    if (tvSystem == "PAL") {
        preset.tvSystem = 0;
    } else if (tvSystem == "NTSC") {
        preset.tvSystem = 1;
    } else {
        return std::nullopt;
    }
    return preset;
}

}  // namespace production
