#pragma once
// The 84 record names by which the library asks a skin for its values:
// colours 0..31, bitmaps 32..65, integers 66..74, booleans 75..83.
#include <array>
#include <string_view>

namespace skin {

inline constexpr int kSkinKeyCount = 84;
inline constexpr int kFirstBitmapKey = 32;
inline constexpr int kFirstIntegerKey = 66;
inline constexpr int kFirstBooleanKey = 75;

extern const std::array<std::string_view, kSkinKeyCount> kSkinKeys;

}  // namespace skin
