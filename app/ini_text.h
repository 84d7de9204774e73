#pragma once
// INI text held in memory (the trailers of template files), read the way
// the platform's profile routines read INI files: section and key names
// ignore ASCII letter case, the first occurrence wins, keys and values are
// trimmed and lose matching quotes, lines end at CR, LF or NUL, and
// comments and junk lines are skipped.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class IniText {
public:
    explicit IniText(std::string_view bytes);
    // The value of key in section; nothing when the key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> sections_;
};

}  // namespace app
