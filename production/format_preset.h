// The encoder's format preset for the project's output format and TV system.
#pragma once

#include <optional>
#include <string_view>

namespace production {

struct FormatPreset {
    int kind = 0;      // VCD 0, SVCD 1, DVD 2, MPEG-4 6
    int tvSystem = 0;  // PAL 0, NTSC 1
};

// Nothing for "AVI" or any other format, and for a TV system other than
// "PAL" and "NTSC": the encoder's defaults stay.
std::optional<FormatPreset> FormatPresetFor(std::string_view outputFormat, std::string_view tvSystem);

}  // namespace production
