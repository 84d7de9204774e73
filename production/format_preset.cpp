#include "production/format_preset.h"

#include "production/output_formats.h"

namespace production {

std::optional<FormatPreset> FormatPresetFor(std::string_view outputFormat, std::string_view tvSystem)
{
    const OutputFormat* format = FindOutputFormat(outputFormat);
    if (!format || format->preset == kEncoderDefaults) return std::nullopt;
    FormatPreset preset;
    preset.kind = format->preset;
    if (tvSystem == "PAL") {
        preset.tvSystem = MCL_TV_PAL;
    } else if (tvSystem == "NTSC") {
        preset.tvSystem = MCL_TV_NTSC;
    } else {
        return std::nullopt;
    }
    return preset;
}

}  // namespace production
