#pragma once
// Looking a value up in INI text held in memory (the trailers of template
// files), read the way the platform's profile routines read INI files.
#include <optional>
#include <string>
#include <string_view>

namespace app {

// The value of key in section; nothing when the key is missing.
std::optional<std::string> ReadIniValue(std::string_view ini_bytes, std::string_view section,
                                        std::string_view key);

}  // namespace app
