// The work folder of castora as the installer lays it out, for the tests of
// castora's windows: the six subfolders and the shipped work files.
#pragma once

#include <filesystem>
#include <string>

inline std::filesystem::path MakeCastoraWorkFolder(const std::filesystem::path& system_dir, int n = 1)
{
    namespace fs = std::filesystem;
    const fs::path work = system_dir / ("brenholt_" + std::to_string(n));
    for (const char* sub : {"zpyjj", "jjzp", "llzp", "zhzp", "pwwjj", "xtsz"})
        fs::create_directories(work / sub);
    const fs::path shipped(VELMORA_DATA_OUT);
    for (const char* sub : {"xtsz", "pwwjj", "jjzp", "llzp"})
        for (const auto& entry : fs::directory_iterator(shipped / sub))
            fs::copy_file(entry.path(), work / sub / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
    return work;
}
