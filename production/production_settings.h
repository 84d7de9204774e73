// Production settings that the dialogs keep: the picture quality and the
// movie copy a reload takes.
#pragma once

#include <optional>
#include <string_view>

namespace production {

inline constexpr std::string_view kQualityStandard = "qing_xi";          // 标准画面
inline constexpr std::string_view kQualityHigh = "gao_qing_xi";          // 清晰画面
inline constexpr std::string_view kQualityHighest = "chao_gao_qing_xi";  // 高清晰画面

struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The template movie's size for a quality keyword; nothing for any other
// text, which leaves the movie's size as it is.
std::optional<PictureSize> PictureSizeForQuality(std::string_view keyword);

// A movie that must be reloaded exists as two copies; each reload takes the
// other one: 1 becomes 2, anything else becomes 1.
constexpr int NextMovieCopy(int current) { return current == 1 ? 2 : 1; }

}  // namespace production
