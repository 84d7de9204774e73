#include "production/lyric_style.h"

#include <cstdio>

namespace production {

std::string LyricAlignText(LyricAlign align)
{
    switch (align) {
    case LyricAlign::kLeft: return "left";
    case LyricAlign::kRight: return "right";
    case LyricAlign::kCenter: break;
    }
    return "center";
}

std::string LyricColourText(std::uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

std::string LyricFlagText(bool on) { return on ? "true" : "false"; }

std::vector<std::pair<std::string, std::string>> LyricStyleVariables(const LyricStyle& style)
{
    return {
        {kLyricAlignVariable, LyricAlignText(style.align)},
        {kLyricColorVariable, LyricColourText(style.colour)},
        {kLyricBoldVariable, LyricFlagText(style.bold)},
        {kLyricItalicVariable, LyricFlagText(style.italic)},
        {kLyricUnderlineVariable, LyricFlagText(style.underline)},
        {kLyricSizeVariable, std::to_string(style.size)},
        {kLyricXVariable, std::to_string(style.x)},
        {kLyricYVariable, std::to_string(style.y)},
    };
}

}  // namespace production
