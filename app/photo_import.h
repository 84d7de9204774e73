#pragma once
// The photo import's own rules, apart from its forms: the picture geometry,
// the row texts, the copy of photos chosen straight from "/" and the staging
// of a photo for the crop viewer.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Every imported photo becomes a picture of this size: the white picture
// area of the import form, saved as it is painted.
inline constexpr int kPhotoPictureWidth = 468;
inline constexpr int kPhotoPictureHeight = 531;
// The render frame that holds the thumbnail, centred, overhangs the
// picture area by this much on every side.
inline constexpr int kRenderFrameOverhang = 120;

struct FrameBounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const FrameBounds&) const = default;
};

// The render frame in the picture area's pixels: (-120, -120) 708 x 771.
constexpr FrameBounds ImportRenderFrame()
{
    const int width = kPhotoPictureWidth + 2 * kRenderFrameOverhang;
    const int height = kPhotoPictureHeight + 2 * kRenderFrameOverhang;
    return {kPhotoPictureWidth / 2 - width / 2, kPhotoPictureHeight / 2 - height / 2, width, height};
}

// The caption of a photo's rows: its file name without the last four
// characters (characters, not bytes: "春天.jpg" gives "春天"); a name of
// four characters or fewer gives "".
std::string PhotoCaption(std::string_view path);

// The number of "/" separators in a path.
int CountPathSeparators(std::string_view path);

// A file directly under "/" (exactly one separator): such photos are copied
// into the "Photo" folder so that the project keeps its own copy.
bool IsDirectlyUnderRoot(std::string_view path);

// The first folder / (n + ".jpg"), n = 1, 2, ..., that does not exist;
// empty when every number up to a bound is taken.
std::filesystem::path FreePhotoCopy(const std::filesystem::path& folder);

// Copies a photo to FreePhotoCopy(photo_folder) (the folder is not created)
// and returns the copy's path; the photo's own path when the copy fails.
std::string CopyIntoPhotoFolder(const std::string& photo, const std::filesystem::path& photo_folder);

// The source recorded for a chosen photo: a file directly under "/" is
// copied by CopyIntoPhotoFolder; any other path is used as chosen.
std::string PhotoSourcePath(const std::string& chosen, const std::filesystem::path& photo_folder);

// SubItems of a photo's crop-data row after import: the crop state (empty),
// then the render frame's X, Y, width and height.
std::vector<std::string> ImportCropTexts();

// Puts a photo where the crop viewer shows it, "jjzp/zpjj.jpg" of the work
// folder: a ".bmp" or ".BMP" source is converted to JPEG, anything else is
// copied. False when that fails (the previous staged photo stays).
bool StageClipPhoto(const std::filesystem::path& work_dir, const std::filesystem::path& source);

// The photos of an import that gave no picture of their own (each got the
// picture icon), by why, as chosen.
struct UnreadPhotos {
    std::vector<std::string> unreadable;  // not a picture, cut short or corrupt
    std::vector<std::string> too_large;   // beyond the picture limit
    bool Empty() const { return unreadable.empty() && too_large.empty(); }
};

// The import's message about them, naming their files and the limit;
// empty when there are none.
std::string UnreadPhotosText(const UnreadPhotos& photos);

// How long the crop viewer may take to report "wan_cheng" for one photo.
inline constexpr int64_t kViewerLoadTimeoutMs = 5000;

}  // namespace app
