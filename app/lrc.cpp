#include "app/lrc.h"

#include <array>
#include <fstream>
#include <iterator>

#include "platform/core/text.h"

namespace app {

namespace {

constexpr std::array<std::u32string_view, 4> kIdentificationTags = {U"ti", U"ar", U"al", U"by"};

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// digits, then the separator, then digits; returns the position after them
// or npos.
size_t SkipDigits(std::u32string_view text, size_t at)
{
    size_t end = at;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return end == at ? std::u32string_view::npos : end;
}

bool IsTimeTag(std::u32string_view tag)
{
    size_t at = SkipDigits(tag, 0);
    if (at == std::u32string_view::npos || at >= tag.size() || tag[at] != U':') return false;
    at = SkipDigits(tag, at + 1);
    if (at == std::u32string_view::npos) return false;
    if (at == tag.size()) return true;
    if (tag[at] != U'.' && tag[at] != U':') return false;
    return SkipDigits(tag, at + 1) == tag.size();
}

struct Tag {
    size_t open;   // position of "["
    size_t close;  // position of its "]"
};

// A line is a tag line when it ends in "]" and none of its tags is a time
// tag (an identification tag such as "[ti:Title]", or another tag). A line
// with a time tag is a lyric line even when its text ends in "]", and a
// bare time tag is a lyric line with empty text.
bool IsTagLine(std::u32string_view line, const std::vector<Tag>& tags)
{
    if (line.empty() || line.back() != U']') return false;
    for (const Tag& tag : tags) {
        if (IsTimeTag(line.substr(tag.open + 1, tag.close - tag.open - 1))) return false;
    }
    return true;
}

// The tags of a line, found from right to left. Each "[" pairs with the
// nearest "]" to its right that no tag has taken; a "[" with no such "]",
// and a "]" that no "[" takes, are text.
std::vector<Tag> FindTags(std::u32string_view line)
{
    std::vector<Tag> tags;
    constexpr size_t kNone = std::u32string_view::npos;
    size_t pending_close = kNone;
    for (size_t p = line.size(); p-- > 0;) {
        if (line[p] == U']') {
            pending_close = p;
        } else if (line[p] == U'[' && pending_close != kNone) {
            tags.push_back(Tag{p, pending_close});
            pending_close = kNone;
        }
    }
    return tags;
}

// The rows of one lyric line, and the line cut back before its leftmost tag.
void ParseLyricLine(std::u32string_view line, const std::vector<Tag>& tags, std::vector<LrcRow>& index,
                    std::string& cut_line)
{
    size_t end = line.size();  // the line as it now stands ends here
    std::u32string_view last_text;
    const Tag* previous = nullptr;
    for (const Tag& tag : tags) {
        // Adjacent tags share the text of the tag to their right.
        if (!(previous && tag.close + 1 == previous->open))
            last_text = line.substr(tag.close + 1, end - tag.close - 1);
        index.push_back(LrcRow{core::CodePointsToUtf8(line.substr(tag.open + 1, tag.close - tag.open - 1)),
                               core::CodePointsToUtf8(last_text)});
        end = tag.open;
        previous = &tag;
    }
    cut_line = core::CodePointsToUtf8(line.substr(0, end));
}

bool StartsWith(std::string_view text, std::u32string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (static_cast<char32_t>(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

bool IsTimeTagText(std::string_view tag) { return IsTimeTag(core::Utf8ToCodePoints(tag)); }

LrcTables ParseLrc(std::string_view utf8_text)
{
    LrcTables tables;
    for (const std::string& raw : core::SplitLines(utf8_text)) {
        const std::u32string line = core::Utf8ToCodePoints(raw);
        const std::vector<Tag> tags = FindTags(line);
        if (IsTagLine(line, tags)) {
            tables.tag_lines.push_back(core::CodePointsToUtf8(line));
            continue;
        }
        std::string cut = core::CodePointsToUtf8(line);
        if (!line.empty()) {
            ParseLyricLine(line, tags, tables.index, cut);
            tables.open_positions.clear();
            tables.close_positions.clear();
            for (size_t p = line.size(); p-- > 0;) {
                if (line[p] == U'[') tables.open_positions.push_back(static_cast<int>(p + 1));
                if (line[p] == U']') tables.close_positions.push_back(static_cast<int>(p + 1));
            }
        }
        tables.lines.push_back(std::move(cut));
    }

    // Identification tags that stood in lyric lines move to the tag lines.
    for (std::u32string_view name : kIdentificationTags) {
        std::vector<LrcRow> kept;
        kept.reserve(tables.index.size());
        for (LrcRow& row : tables.index) {
            if (StartsWith(row.caption, name))
                tables.tag_lines.push_back("[" + row.caption + "]");
            else
                kept.push_back(std::move(row));
        }
        tables.index = std::move(kept);
    }

    // "[ti:Title]": the two letters at characters 2 and 3, the text from
    // character 5 up to the last one.
    for (const std::string& tag_line : tables.tag_lines) {
        const std::u32string line = core::Utf8ToCodePoints(tag_line);
        // A line that merely ends in a stray "]" is no tag.
        if (line.size() < 3 || line.front() != U'[') continue;
        const std::u32string_view name = std::u32string_view(line).substr(1, 2);
        bool known = false;
        for (std::u32string_view tag : kIdentificationTags) known = known || name == tag;
        if (!known) continue;
        const std::u32string_view text =
            line.size() > 5 ? std::u32string_view(line).substr(4, line.size() - 5) : std::u32string_view{};
        tables.index.push_back(LrcRow{core::CodePointsToUtf8(name), core::CodePointsToUtf8(text)});
    }
    return tables;
}

LrcTables ParseLrcFile(std::string_view file_bytes) { return ParseLrc(core::DecodeText(file_bytes)); }

std::optional<std::string> ReadLrcFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxLrcFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad() || bytes.size() > kMaxLrcFileBytes) return std::nullopt;
    return bytes;
}

LrcTables LoadLrcFile(const std::filesystem::path& path)
{
    const std::optional<std::string> bytes = ReadLrcFile(path);
    return bytes ? ParseLrcFile(*bytes) : LrcTables{};
}

std::optional<size_t> FindLyricRow(const std::vector<LrcRow>& index, std::string_view key)
{
    if (key.empty()) return std::nullopt;
    for (size_t row = 0; row < index.size(); ++row) {
        const std::string& caption = index[row].caption;
        if (caption.size() < key.size()) continue;
        bool match = true;
        for (size_t i = 0; i < key.size() && match; ++i) match = AsciiLower(caption[i]) == AsciiLower(key[i]);
        if (match) return row;
    }
    return std::nullopt;
}

}  // namespace app
