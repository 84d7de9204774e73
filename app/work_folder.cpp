#include "app/work_folder.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace app {

namespace fs = std::filesystem;

namespace {

bool IsDirectory(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool HasJpegExtension(const fs::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext == ".jpg";
}

// Under the work folder; the subfolders are the names of the work folder table.
constexpr std::array<const char*, 13> kLeftovers = {
    "llzp/zpjj.jpg",   "jjzp/zpjj.jpg",   "zpyjj/lin_shi.jpg", "zhzp/zhzp1.swf",  "zhzp/lswj.bmp",
    "zhzp/zhzp2.swf",  "pwwjj/pwwj1.swf", "pwwjj/pwwj2.swf",   "pwwjj/txt_1.txt", "pwwjj/txt_2.txt",
    "zpyjj/zpyjj.bmp", "pwwjj/pwtp.bmp",  "pwwjj/pwtp.jpg",
};

}  // namespace

WorkFolderSearch FindWorkFolder(const fs::path& system_dir, const std::function<void()>& pump)
{
    for (int n = 1;; ++n) {
        if (pump) pump();
        const fs::path folder = system_dir / ("brenholt_" + std::to_string(n));
        const bool missing = !IsDirectory(folder);
        const bool holds_photos = !missing && IsDirectory(folder / "zpyjj");
        if (missing || holds_photos) {
            // The trailing separator: WorkDir always ends in one.
            return WorkFolderSearch{n, folder / "", holds_photos};
        }
    }
}

fs::path PhotoFile(const fs::path& work_dir, long long k)
{
    return work_dir / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg");
}

fs::path SlotFile(const fs::path& work_dir, long long i)
{
    return work_dir / "zhzp" / ("tupian" + std::to_string(i) + ".jpg");
}

std::vector<fs::path> JpegFilesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kind_error;
        if (!it->is_directory(kind_error) && HasJpegExtension(it->path())) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<fs::path> LeftoverFiles(const fs::path& work_dir)
{
    std::vector<fs::path> files;
    for (const char* name : kLeftovers) {
        fs::path path = work_dir / fs::path(name);
        if (Exists(path)) files.push_back(path);
    }
    for (const char* folder : {"zpyjj", "zhzp"}) {
        for (fs::path& path : JpegFilesIn(work_dir / folder)) {
            if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(std::move(path));
        }
    }
    return files;
}

int RemoveLeftoverFiles(const fs::path& work_dir)
{
    int failed = 0;
    for (const fs::path& path : LeftoverFiles(work_dir)) {
        std::error_code error;
        if (!fs::remove(path, error) || error) ++failed;
    }
    return failed;
}

}  // namespace app
