#pragma once
// The lyric line's style as the project keeps it (eight texts of
// ProjectState) and as the movies read it (eight Flash variables), with the
// lists the style dialog offers: the sizes "3" to "80" and eight colours.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "production/album_settings.h"

namespace app {

// The variables a lyric movie reads.
inline constexpr const char* kLyricLineVariable = "LRC_geci";
inline constexpr const char* kLyricAlignVariable = "LRC_ju_zuozhongyou";
inline constexpr const char* kLyricColorVariable = "LRC_geciyanse";
inline constexpr const char* kLyricBoldVariable = "LRC_biaozhuen_cuti";
inline constexpr const char* kLyricItalicVariable = "LRC_xieti";
inline constexpr const char* kLyricUnderlineVariable = "LRC_xiahuaxian";
inline constexpr const char* kLyricSizeVariable = "LRC_gecidaxiao";
inline constexpr const char* kLyricXVariable = "LRC_x";
inline constexpr const char* kLyricYVariable = "LRC_y";

struct LyricColour {
    const char* name;  // as the colour list shows it
    const char* code;  // as LrcColor stores it and the movie reads it
};
inline constexpr std::array<LyricColour, 8> kLyricColours = {{
    {"black（黑色）", "0x000000"},
    {"white（白色）", "0xFFFFFF"},
    {"red（红色）", "0xFF0000"},
    {"green（绿色）", "0x00FF00"},
    {"blue（蓝色）", "0x0000FF"},
    {"magenta（洋红色）", "0xFF00FF"},
    {"yellow（黄色）", "0xFFFF00"},
    {"cyan（青色）", "0x00FFFF"},
}};

inline constexpr int kLyricSizeMin = 3;
inline constexpr int kLyricSizeMax = 80;
// The movie's stage: LrcX runs 1 to 352, LrcY 1 to 288.
inline constexpr int kLyricXMax = 352;
inline constexpr int kLyricYMax = 288;

// The alignments in the order of the dialog's three radio buttons.
inline constexpr std::array<const char*, 3> kLyricAligns = {"left", "center", "right"};

// "3", "4", ... "80": entry i is size i + 3.
std::vector<std::string> LyricSizeEntries();
// The colour list's names, in entry order.
std::vector<std::string> LyricColourNames();

// The entry of a stored value in its list; -1 when the value is not one of
// the list's (the dialog then selects nothing).
int LyricAlignIndex(std::string_view align);
int LyricColourIndex(std::string_view code);
int LyricSizeIndex(std::string_view size);

// A stored "true"/"false" as a check state: only "true" checks.
bool LyricFlag(std::string_view value);
std::string LyricFlagText(bool on);

// A stored position as a number for a track bar of min..max: the value
// clamped into the range; min when it is not a number.
int LyricPosition(std::string_view value, int min, int max);

// The eight style variables with the project's values, in the order the
// movies are sent them.
std::vector<std::pair<std::string, std::string>> LyricStyleVariables(
    const production::AlbumSettings& project);

}  // namespace app
