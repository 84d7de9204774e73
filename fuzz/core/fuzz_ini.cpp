// Any bytes parse; every lookup answers; what the writer writes reads back
// as the same sections and entries.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    core::IniFile ini = core::IniFile::FromBytes(bytes);
    for (const std::string& section : ini.ReadSections()) {
        if (!ini.SectionExists(section)) std::abort();
        for (const auto& [key, value] : ini.ReadSectionValues(section)) {
            if (ini.ReadString(section, key, "\x01") != value) std::abort();
            ini.ReadInteger(section, key, 0);
        }
    }
    ini.ReadString("pwyzxx", "x");

    core::IniFile again = core::IniFile::FromBytes(ini.ToBytes());
    if (!(again.Sections() == ini.Sections())) std::abort();

    // Writing over the parsed file keeps it readable and the value exact.
    if (!ini.Sections().empty() && !ini.Sections()[0].entries.empty()) {
        const auto& first = ini.Sections()[0];
        std::string value(bytes.substr(0, std::min<size_t>(size, 16)));
        std::string key = first.entries[0].key;
        std::string section = first.name;
        if (ini.WriteString(section, key, value)) {
            core::IniFile written = core::IniFile::FromBytes(ini.ToBytes());
            std::string expected;
            for (char c : value)
                if (c != '\r' && c != '\n' && c != '\0') expected.push_back(c);
            if (written.ReadString(section, key) != expected) std::abort();
        }
    }
    return 0;
}
