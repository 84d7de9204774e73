#include "app/lyric_style.h"

namespace app {

std::vector<std::string> LyricSizeEntries()
{
    std::vector<std::string> entries;
    for (int size = kLyricSizeMin; size <= kLyricSizeMax; ++size) entries.push_back(std::to_string(size));
    return entries;
}

std::vector<std::string> LyricColourNames()
{
    std::vector<std::string> names;
    for (const LyricColour& colour : kLyricColours) names.emplace_back(colour.name);
    return names;
}

int LyricAlignIndex(production::LyricAlign align)
{
    for (size_t i = 0; i < kLyricAligns.size(); ++i)
        if (align == kLyricAligns[i]) return static_cast<int>(i);
    return -1;
}

int LyricColourIndex(std::uint32_t colour)
{
    for (size_t i = 0; i < kLyricColours.size(); ++i)
        if (colour == kLyricColours[i].value) return static_cast<int>(i);
    return -1;
}

int LyricSizeIndex(int size)
{
    return size >= kLyricSizeMin && size <= kLyricSizeMax ? size - kLyricSizeMin : -1;
}

}  // namespace app
