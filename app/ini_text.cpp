#include "app/ini_text.h"

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

}  // namespace

IniText::IniText(std::string_view bytes)
{
    Section* current = nullptr;
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n' && bytes[i] != '\0') continue;
        const std::string_view line = Trim(bytes.substr(start, i - start));
        start = i + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) continue;
            sections_.push_back(Section{std::string(Trim(line.substr(1, close - 1))), {}});
            current = &sections_.back();
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos) continue;
        std::string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        current->entries.push_back(Entry{std::string(Trim(line.substr(0, equals))), std::string(value)});
    }
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const
{
    // Only the first section of a name is seen, and in it the first key.
    for (const Section& candidate : sections_) {
        if (!SameAsciiText(candidate.name, section)) continue;
        for (const Entry& entry : candidate.entries) {
            if (SameAsciiText(entry.key, key)) return entry.value;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace app
