#pragma once
// The per-installation work folder: finding it at start-up, the names of
// its work files, and clearing what an earlier run left behind.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace app {

struct WorkFolderSearch {
    int number = 1;                  // N of "brenholt_" + N
    std::filesystem::path work_dir;  // SystemDir/brenholt_N/, with the trailing separator
    bool present = false;            // the folder holds "zpyjj"; otherwise the program must not run
};

// The first N from 1 whose folder "brenholt_" + N under system_dir is
// missing or holds "zpyjj". Creates nothing. pump (if set) runs once
// before each candidate, so that the window stays responsive.
WorkFolderSearch FindWorkFolder(const std::filesystem::path& system_dir,
                                const std::function<void()>& pump = {});

// "zpyjj/zpyjj" + k + ".jpg": imported photo k, counted from 1.
std::filesystem::path PhotoFile(const std::filesystem::path& work_dir, long long k);
// "zhzp/tupian" + i + ".jpg": photo slot i, 1 to 15.
std::filesystem::path SlotFile(const std::filesystem::path& work_dir, long long i);

// The files of folder (directly in it) whose extension is ".jpg" in any
// letter case, sorted by name.
std::vector<std::filesystem::path> JpegFilesIn(const std::filesystem::path& folder);

// The leftover work files that exist now: the fixed list of the start-up,
// then every "zpyjj/*.jpg" and every "zhzp/*.jpg".
std::vector<std::filesystem::path> LeftoverFiles(const std::filesystem::path& work_dir);

// Deletes the leftover files; a file that cannot be deleted stays, silently.
// Returns how many could not be deleted.
int RemoveLeftoverFiles(const std::filesystem::path& work_dir);

}  // namespace app
