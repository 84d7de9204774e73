#include "app/photo_import.h"

#include <exception>

#include "app/image_routines.h"
#include "platform/core/files.h"
#include "platform/core/text.h"
#include "platform/gfx/image_io.h"

namespace app {

namespace {

// Far more copies than anyone keeps in one folder; the search stays bounded.
constexpr int kMaxPhotoCopies = 100000;

// A long list names the first few and says how many more there are.
constexpr std::size_t kNamesListed = 8;

std::string NameList(const std::vector<std::string>& paths)
{
    std::string list;
    for (std::size_t i = 0; i < paths.size() && i < kNamesListed; ++i) {
        if (i > 0) list += "、";
        list += std::filesystem::path(paths[i]).filename().string();
    }
    if (paths.size() > kNamesListed) list += " 等";
    return list;
}

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

std::string UnreadPhotosText(const UnreadPhotos& photos)
{
    std::string text;
    if (!photos.unreadable.empty()) {
        text += "有 " + std::to_string(photos.unreadable.size()) +
                " 张照片无法读取(文件不完整、已损坏或不是图片), 以图标代替:\n" + NameList(photos.unreadable);
    }
    if (!photos.too_large.empty()) {
        if (!text.empty()) text += "\n";
        text += "有 " + std::to_string(photos.too_large.size()) + " 张照片太大(每边最多 " +
                std::to_string(gfx::kMaxJpegDimension) + " 像素, 共最多 " +
                std::to_string(gfx::kMaxJpegPixels / 10000) + " 万像素), 以图标代替:\n" +
                NameList(photos.too_large);
    }
    return text;
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
