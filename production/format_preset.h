// The encoder's format preset for the project's output format and TV system.
#pragma once

#include <optional>
#include <string_view>

namespace production {

struct FormatPreset {
    int kind = 0;      // MCL_PRESET_*
    int tvSystem = 0;  // MCL_TV_PAL or MCL_TV_NTSC
};

// Nothing for a format without a preset of its own (kOutputFormats), and for a TV system other than
// "PAL" and "NTSC": the encoder's defaults stay.
std::optional<FormatPreset> FormatPresetFor(std::string_view outputFormat, std::string_view tvSystem);

}  // namespace production
