// Any list of installed files reads as damaged or as entries that each
// stay inside the installation folder, and a list read back writes the
// same entries again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "uninstall/installed_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto list =
        uninstall::ParseInstalledFiles(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!list) return 0;
    for (const auto* entries : {&list->files, &list->folders})
        for (const std::filesystem::path& path : *entries)
            if (!uninstall::IsListablePath(path) || path.has_root_path()) std::abort();
    if (uninstall::ParseInstalledFiles(uninstall::InstalledFilesText(*list)) != list) std::abort();
    return 0;
}
