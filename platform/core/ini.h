#pragma once
// INI files, read the way the platform's profile routines read them:
// - "[name]" starts a section; "key=value" lines belong to the section above;
// - names of sections and keys ignore ASCII letter case; the first
//   occurrence wins (a repeated section or key is not seen by lookups);
// - keys and values are trimmed, and a value in matching quotes ('...' or
//   "...") loses them; a missing key reads as the default ("" unless given);
// - lines end at CR LF, LF or CR, and a NUL byte also ends a line;
// - lines starting with ';' are comments; lines without '=', keys before the
//   first section and other junk are skipped.
// Values come back as the bytes stored (after a UTF-16 file is turned into
// UTF-8); text that may be GBK goes through core::DecodeText.
//
// The writer keeps sections and keys in their order and writes "key=value"
// lines with CR LF; comments and junk lines are not kept.
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

class IniFile {
public:
    IniFile() = default;
    // Reads the file; a missing or unreadable file reads as empty.
    explicit IniFile(const std::filesystem::path& path);
    static IniFile FromBytes(std::string_view bytes);

    // Whether the constructor could read its file.
    bool Opened() const { return opened_; }
    const std::filesystem::path& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback = "") const;
    // The value as a number (decimal, or hexadecimal after "$" or "0x");
    // anything else gives the fallback.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // Section names, and the key names / pairs of one section, in file
    // order, each name once (the first occurrence).
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(std::string_view section) const;
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(std::string_view section) const;

    // Sets the first occurrence of the key, or adds it (and the section) at
    // the end. Line breaks and NULs in names and values are dropped; a key
    // that cannot be stored (empty, with '=', or starting with ';' or '[')
    // is refused. Values that would not read back the same are quoted.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int value);
    // Removes every occurrence of a key / a section.
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    std::string ToBytes() const;
    // Writes safely (temporary file renamed into place).
    bool SaveToFile(const std::filesystem::path& path) const;
    bool Save() const { return SaveToFile(path_); }

    // Every section with its entries as stored, repeats included.
    struct Entry {
        std::string key, value;
        bool operator==(const Entry&) const = default;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        bool operator==(const Section&) const = default;
    };
    const std::vector<Section>& Sections() const { return sections_; }

private:
    void Parse(std::string_view bytes);
    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    std::filesystem::path path_;
    bool opened_ = false;
    std::vector<Section> sections_;
};

}  // namespace core
