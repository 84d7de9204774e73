#include "platform/core/ini.h"

#include <algorithm>

#include "platform/core/files.h"
#include "platform/core/text.h"

namespace core {

namespace {

bool IsBlank(unsigned char c) { return c <= ' '; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string WithoutLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n' && c != '\0') out.push_back(c);
    return out;
}

// Whether a value must be written in quotes to read back the same.
bool NeedsQuotes(std::string_view value)
{
    if (value.empty()) return false;
    if (IsBlank(value.front()) || IsBlank(value.back())) return true;
    return value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
}

}  // namespace

IniFile::IniFile(const std::filesystem::path& path) : path_(path)
{
    if (auto bytes = ReadFileBytes(path)) {
        opened_ = true;
        Parse(*bytes);
    }
}

IniFile IniFile::FromBytes(std::string_view bytes)
{
    IniFile ini;
    ini.opened_ = true;
    ini.Parse(bytes);
    return ini;
}

void IniFile::Parse(std::string_view bytes)
{
    std::string decoded;
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        decoded = DecodeText(bytes);
        bytes = decoded;
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }

    Section* current = nullptr;
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n' && bytes[end] != '\0') ++end;
        std::string line = Trim(bytes.substr(start, end - start));
        start = end + 1;
        if (end == bytes.size()) start = bytes.size() + 1;

        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.rfind(']');
            if (close == std::string::npos) continue;  // junk
            sections_.push_back({Trim(std::string_view(line).substr(1, close - 1)), {}});
            current = &sections_.back();
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos || !current) continue;  // junk
        std::string key = Trim(std::string_view(line).substr(0, equals));
        if (key.empty()) continue;
        std::string value = Trim(std::string_view(line).substr(equals + 1));
        if (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back())
            value = value.substr(1, value.size() - 2);
        current->entries.push_back({std::move(key), std::move(value)});
    }
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const
{
    for (const Section& s : sections_)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const
{
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    for (const Entry& e : s->entries)
        if (SameText(e.key, key)) return &e;
    return nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const
{
    const Entry* e = FindEntry(section, key);
    return e ? e->value : std::string(fallback);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const
{
    const Entry* e = FindEntry(section, key);
    return e ? StrToIntDef(e->value, fallback) : fallback;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return FindEntry(section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSections() const
{
    std::vector<std::string> names;
    for (const Section& s : sections_)
        if (FindSection(s.name) == &s) names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const
{
    std::vector<std::string> keys;
    for (auto& [key, value] : ReadSectionValues(section)) keys.push_back(key);
    return keys;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    const Section* s = FindSection(section);
    if (!s) return values;
    for (const Entry& e : s->entries) {
        bool seen = std::any_of(values.begin(), values.end(),
                                [&](const auto& v) { return SameText(v.first, e.key); });
        if (!seen) values.emplace_back(e.key, e.value);
    }
    return values;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string section_name = Trim(WithoutLineBreaks(section));
    std::string key_name = Trim(WithoutLineBreaks(key));
    if (key_name.empty() || key_name.find('=') != std::string::npos || key_name[0] == ';' ||
        key_name[0] == '[')
        return false;
    std::string stored = WithoutLineBreaks(value);

    auto s = std::find_if(sections_.begin(), sections_.end(),
                          [&](const Section& x) { return SameText(x.name, section_name); });
    if (s == sections_.end()) {
        sections_.push_back({section_name, {}});
        s = sections_.end() - 1;
    }
    for (Entry& e : s->entries) {
        if (SameText(e.key, key_name)) {
            e.value = std::move(stored);
            return true;
        }
    }
    s->entries.push_back({std::move(key_name), std::move(stored)});
    return true;
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    return WriteString(section, key, IntToStr(value));
}

void IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    for (Section& s : sections_) {
        if (!SameText(s.name, section)) continue;
        std::erase_if(s.entries, [&](const Entry& e) { return SameText(e.key, key); });
    }
}

void IniFile::EraseSection(std::string_view section)
{
    std::erase_if(sections_, [&](const Section& s) { return SameText(s.name, section); });
}

std::string IniFile::ToBytes() const
{
    std::string out;
    for (const Section& s : sections_) {
        out += "[" + s.name + "]\r\n";
        for (const Entry& e : s.entries) {
            out += e.key;
            out += '=';
            if (NeedsQuotes(e.value))
                out += "\"" + e.value + "\"";
            else
                out += e.value;
            out += "\r\n";
        }
    }
    return out;
}

bool IniFile::SaveToFile(const std::filesystem::path& path) const
{
    return !path.empty() && WriteFileBytes(path, ToBytes());
}

}  // namespace core
