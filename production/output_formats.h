#pragma once
// The output formats a project can be produced in. This table is the one
// list of them: the main window's output buttons, the extension a chosen
// name gets and the encoder's preset are all taken from it, so a new
// format is a new row here (and its button).
#include <array>
#include <string_view>

#include "mcl/mcl.h"

namespace production {

struct OutputFormat {
    std::string_view key;        // the project's OutputFormat value, e.g. "SVCD"
    std::string_view extension;  // added to a chosen name that has none
    int preset;                  // the encoder's MCL_PRESET_*, or kEncoderDefaults
};

// A format without a preset of its own: the encoder's defaults stay.
inline constexpr int kEncoderDefaults = -1;

inline constexpr std::array<OutputFormat, 5> kOutputFormats{{
    {"AVI", ".avi", kEncoderDefaults},
    {"VCD", ".mpg", MCL_PRESET_VCD},
    {"SVCD", ".mpg", MCL_PRESET_SVCD},
    {"DVD", ".mpg", MCL_PRESET_DVD},
    {"MP4", ".mp4", MCL_PRESET_MP4},
}};

// The row of a project's OutputFormat value; nullptr for an unknown one.
constexpr const OutputFormat* FindOutputFormat(std::string_view key)
{
    for (const OutputFormat& format : kOutputFormats)
        if (format.key == key) return &format;
    return nullptr;
}

}  // namespace production
