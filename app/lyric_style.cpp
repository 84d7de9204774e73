#include "app/lyric_style.h"

#include <algorithm>
#include <charconv>

namespace app {

namespace {

// The whole text as a decimal number; false when it is not one.
bool WholeNumber(std::string_view text, int& value)
{
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end;
}

}  // namespace

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

int LyricAlignIndex(std::string_view align)
{
    for (size_t i = 0; i < kLyricAligns.size(); ++i)
        if (align == kLyricAligns[i]) return static_cast<int>(i);
    return -1;
}

int LyricColourIndex(std::string_view code)
{
    for (size_t i = 0; i < kLyricColours.size(); ++i)
        if (code == kLyricColours[i].code) return static_cast<int>(i);
    return -1;
}

int LyricSizeIndex(std::string_view size)
{
    int value = 0;
    if (!WholeNumber(size, value) || value < kLyricSizeMin || value > kLyricSizeMax) return -1;
    return value - kLyricSizeMin;
}

bool LyricFlag(std::string_view value) { return value == "true"; }

std::string LyricFlagText(bool on) { return on ? "true" : "false"; }

int LyricPosition(std::string_view value, int min, int max)
{
    long long number = 0;
    const char* end = value.data() + value.size();
    const auto [at, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || at != end) return min;
    // Out of range for long long: the sign still says which end.
    if (error == std::errc::result_out_of_range) return value.front() == '-' ? min : max;
    if (error != std::errc()) return min;
    return static_cast<int>(std::clamp<long long>(number, min, max));
}

std::vector<std::pair<std::string, std::string>> LyricStyleVariables(const production::AlbumSettings& project)
{
    return {
        {kLyricAlignVariable, project.LrcAlign},       {kLyricColorVariable, project.LrcColor},
        {kLyricBoldVariable, project.LrcBold},         {kLyricItalicVariable, project.LrcItalic},
        {kLyricUnderlineVariable, project.LrcUnderline}, {kLyricSizeVariable, project.LrcSize},
        {kLyricXVariable, project.LrcX},               {kLyricYVariable, project.LrcY},
    };
}

}  // namespace app
