#pragma once
// The lyric line's style as typed values. They become the texts that the
// lyric movies read only where they are sent to a movie.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace production {

enum class LyricAlign { kLeft, kCenter, kRight };

struct LyricStyle {
    LyricAlign align = LyricAlign::kCenter;
    std::uint32_t colour = 0xFFFFFF;  // 0xRRGGBB
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int size = 12;  // points
    // The line's place on the movie's 352 x 288 stage.
    int x = 5;
    int y = 250;

    friend bool operator==(const LyricStyle&, const LyricStyle&) = default;
};

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

// The movies' texts: "left", "center" or "right"; "0xRRGGBB" in capitals;
// "true" or "false".
std::string LyricAlignText(LyricAlign align);
std::string LyricColourText(std::uint32_t colour);
std::string LyricFlagText(bool on);

// The eight style variables with their texts, in the order the movies are
// sent them.
std::vector<std::pair<std::string, std::string>> LyricStyleVariables(const LyricStyle& style);

}  // namespace production
