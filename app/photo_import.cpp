#include "app/photo_import.h"

#include <exception>

#include "app/image_routines.h"
#include "platform/core/files.h"
#include "platform/core/text.h"

namespace app {

namespace {

// Far more copies than anyone keeps in one folder; the search stays bounded.
constexpr int kMaxPhotoCopies = 100000;

}  // namespace

std::string PhotoCaption(std::string_view path)
{
    const size_t slash = path.rfind('/');
    const std::u32string name =
        core::Utf8ToCodePoints(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (name.size() <= 4) return {};
    return core::CodePointsToUtf8(std::u32string_view(name).substr(0, name.size() - 4));
}

int CountPathSeparators(std::string_view path)
{
    int count = 0;
    for (char c : path) count += c == '/' ? 1 : 0;
    return count;
}

bool IsDirectlyUnderRoot(std::string_view path)
{
    return CountPathSeparators(path) == 1 && !path.empty() && path.front() == '/';
}

std::filesystem::path FreePhotoCopy(const std::filesystem::path& folder)
{
    for (int n = 1; n <= kMaxPhotoCopies; ++n) {
        std::filesystem::path candidate = folder / (std::to_string(n) + ".jpg");
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error))) return candidate;
    }
    return {};
}

std::string CopyIntoPhotoFolder(const std::string& photo, const std::filesystem::path& photo_folder)
{
    const std::filesystem::path copy = FreePhotoCopy(photo_folder);
    if (copy.empty() || !core::DirectoryExists(photo_folder) || !core::CopyFile(photo, copy, true))
        return photo;
    return copy.string();
}

std::string PhotoSourcePath(const std::string& chosen, const std::filesystem::path& photo_folder)
{
    return IsDirectlyUnderRoot(chosen) ? CopyIntoPhotoFolder(chosen, photo_folder) : chosen;
}

std::vector<std::string> ImportCropTexts()
{
    constexpr FrameBounds frame = ImportRenderFrame();
    return {"", std::to_string(frame.left), std::to_string(frame.top), std::to_string(frame.width),
            std::to_string(frame.height)};
}

bool StageClipPhoto(const std::filesystem::path& work_dir, const std::filesystem::path& source)
{
    const std::filesystem::path staged = work_dir / "jjzp" / "zpjj.jpg";
    const std::string extension = source.extension().string();
    if (extension == ".bmp" || extension == ".BMP") {
        try {
            ConvertImageToJpeg(source, staged);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }
    return core::CopyFile(source, staged, true);
}

}  // namespace app
