// The user-dirs.dirs reader on arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/shell/special_folders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::string_view name : {"DESKTOP", "MUSIC", ""}) {
        (void)shell::ParseUserDirsEntry(text, name, "/home/user");
    }
    return 0;
}
