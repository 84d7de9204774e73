#pragma once
// LRC lyrics as the album reads them: the lyric index (one row per time tag
// and per identification tag), the numbered lyric lines and the tag lines,
// and the lookup of the line to show at a time "mm:ss".
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// A row of the lyric index kivListView4.
struct LrcRow {
    std::string caption;  // a time tag without its brackets, or "ti", "ar", "al", "by"
    std::string text;     // SubItems[0]: the lyric text shown from that tag on
    bool operator==(const LrcRow&) const = default;
};

struct LrcTables {
    // kivListView4: the lyric lines' tags in file order (within a line from
    // right to left), then the identification tags.
    std::vector<LrcRow> index;
    // kivListView6: every lyric line, row k numbered k + 1, cut back to the
    // text before its leftmost tag.
    std::vector<std::string> lines;
    // kivListBox3: the tag lines in file order, then the identification
    // tags moved out of lyric lines.
    std::vector<std::string> tag_lines;
    // kivListBox1 and kivListBox2, the parser's scratch: the character
    // positions (from 1) of every "[" and every "]" of the last non-empty
    // lyric line, from right to left.
    std::vector<int> open_positions;
    std::vector<int> close_positions;
    bool operator==(const LrcTables&) const = default;
};

// Parses LRC text (UTF-8, already decoded). Never fails: a bracket without
// its partner is lyric text, not a tag.
LrcTables ParseLrc(std::string_view utf8_text);

// Decodes the bytes of an LRC file (BOM, else UTF-8, else GB18030) and
// parses them.
LrcTables ParseLrcFile(std::string_view file_bytes);

// The bytes of an LRC file on disk; nothing when it is not a regular file
// (missing, a folder, a pipe that would block), cannot be read, or is
// larger than any lyrics (kMaxLrcFileBytes).
inline constexpr size_t kMaxLrcFileBytes = 16u << 20;
std::optional<std::string> ReadLrcFile(const std::filesystem::path& path);

// The tables of an LRC file on disk; empty tables when ReadLrcFile gives
// nothing.
LrcTables LoadLrcFile(const std::filesystem::path& path);

// Whether the text between a tag's brackets is a time ("mm:ss.xx"; also
// "m:ss", "mm:ss.xxx" and "mm:ss:xx").
bool IsTimeTagText(std::string_view tag);

// The lookup rule: the first row from the top whose caption begins with
// key (two-digit minutes ":" two-digit seconds), letter case ignored. No
// row (or an empty key): the line shown does not change.
std::optional<size_t> FindLyricRow(const std::vector<LrcRow>& index, std::string_view key);

}  // namespace app
