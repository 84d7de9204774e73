#pragma once
// The lists the lyric style dialog offers: the sizes 3 to 80, eight
// colours and the three alignments, and where a style's values stand in
// them. The style itself is production::LyricStyle.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "production/lyric_style.h"

namespace app {

using production::kLyricLineVariable;

struct LyricColour {
    const char* name;     // as the colour list shows it
    std::uint32_t value;  // 0xRRGGBB
};
inline constexpr std::array<LyricColour, 8> kLyricColours = {{
    {"black（黑色）", 0x000000},
    {"white（白色）", 0xFFFFFF},
    {"red（红色）", 0xFF0000},
    {"green（绿色）", 0x00FF00},
    {"blue（蓝色）", 0x0000FF},
    {"magenta（洋红色）", 0xFF00FF},
    {"yellow（黄色）", 0xFFFF00},
    {"cyan（青色）", 0x00FFFF},
}};

inline constexpr int kLyricSizeMin = 3;
inline constexpr int kLyricSizeMax = 80;
// The movie's stage: x runs 1 to 352, y 1 to 288.
inline constexpr int kLyricXMax = 352;
inline constexpr int kLyricYMax = 288;

// The alignments in the order of the dialog's three radio buttons.
inline constexpr std::array<production::LyricAlign, 3> kLyricAligns = {
    production::LyricAlign::kLeft, production::LyricAlign::kCenter, production::LyricAlign::kRight};

// "3", "4", ... "80": entry i is size i + 3.
std::vector<std::string> LyricSizeEntries();
// The colour list's names, in entry order.
std::vector<std::string> LyricColourNames();

// The entry of a value in its list; -1 when the value is not one of the
// list's (the dialog then selects nothing).
int LyricAlignIndex(production::LyricAlign align);
int LyricColourIndex(std::uint32_t colour);
int LyricSizeIndex(int size);

}  // namespace app
