#include "app/ini_text.h"

#include <vector>

namespace app {

namespace {

bool SameAsciiText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> IniLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n' && bytes[i] != '\0') continue;
        lines.push_back(bytes.substr(start, i - start));
        start = i + 1;
    }
    return lines;
}

}  // namespace

std::optional<std::string> ReadIniValue(std::string_view ini_bytes, std::string_view section,
                                        std::string_view key)
{
    // Only the first section of a name is seen, and in it the first key.
    bool in_section = false;
    bool section_seen = false;
    for (std::string_view raw : IniLines(ini_bytes)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) continue;
            if (in_section) return std::nullopt;
            const bool match = SameAsciiText(Trim(line.substr(1, close - 1)), section);
            in_section = match && !section_seen;
            section_seen = section_seen || match;
            continue;
        }
        if (!in_section) continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        if (!SameAsciiText(Trim(line.substr(0, equals)), key)) continue;
        std::string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

}  // namespace app
