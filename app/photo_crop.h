#pragma once
// The crop editor's arithmetic, apart from its form: the red frame in the
// view area, the slider ranges, the crop-data texts of kivListView3 and
// whether a staged photo can be shown at all.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/photo_import.h"

namespace app {

// The viewer's size after "清除剪辑": the viewer movie's stage at twice its
// size, so that its centre 626 x 708 is the photo's picture.
inline constexpr int kClipViewerWidth = 1252;
inline constexpr int kClipViewerHeight = 1416;
inline constexpr int kClipResetPictureWidth = 626;
inline constexpr int kClipResetPictureHeight = 708;
// The zoom slider's range.
inline constexpr int kClipZoomMin = 200;
inline constexpr int kClipZoomMax = 3000;
// The frame is always this much higher than wide.
inline constexpr int kClipFrameExtraHeight = 21;

// The red frame in the view area: as high as the view allows (20 pixels to
// spare), at least 181 high, narrowed to leave 20 pixels of the view's
// width, and centred.
FrameBounds ClipFrameFor(int view_width, int view_height);

// Where the viewer is painted into a picture of the frame's size so that
// the picture is exactly what lies inside the frame.
inline int ClipPaintOffset(int viewer_position, int frame_position)
{
    return viewer_position - frame_position;
}

struct SliderRange {
    int min = 0, max = 0;
    bool operator==(const SliderRange&) const = default;
};
// The range of a move slider along one axis: the viewer may go fully out
// of view to the left (top), and as far right (down) as the view is wide
// when the viewer is smaller, else by the part of it that overhangs.
SliderRange ClipMoveRange(int view_extent, int viewer_extent);

// The crop data of a kivListView3 row (its SubItems): X, Y, W and H from
// SubItems 2 to 5; nothing when a value is missing or not a number, or the
// size is not positive.
std::optional<FrameBounds> ReadClipGeometry(const std::vector<std::string>& sub_items);
// SubItems 2 to 5 set to the geometry; missing ones are added, SubItems 0
// and 1 are kept.
void WriteClipGeometry(std::vector<std::string>& sub_items, const FrameBounds& geometry);

// The same on a list row's SubItems (TStrings).
template <class Strings>
void StoreClipGeometry(Strings& sub_items, const FrameBounds& geometry)
{
    std::vector<std::string> texts = sub_items.Items();
    WriteClipGeometry(texts, geometry);
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        if (i < sub_items.Count())
            sub_items.SetStrings(i, texts[static_cast<size_t>(i)]);
        else
            sub_items.Add(texts[static_cast<size_t>(i)]);
    }
}

// The geometry "清除剪辑" puts the viewer at.
constexpr FrameBounds ClipResetGeometry() { return {0, 0, kClipViewerWidth, kClipViewerHeight}; }

// True when the staged photo "jjzp/zpjj.jpg" of the work folder is a
// picture the viewer can show.
bool StagedClipPhotoReadable(const std::filesystem::path& work_dir);

}  // namespace app
