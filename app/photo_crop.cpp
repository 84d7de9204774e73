#include "app/photo_crop.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include "platform/gfx/image_io.h"

namespace app {

namespace {

constexpr int kFrameStartHeight = 181;
constexpr int kFrameMargin = 20;

std::optional<int> Number(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || last != end || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

FrameBounds ClipFrameFor(int view_width, int view_height)
{
    // Grow to the view's height less the margin (never below the start
    // size), then narrow to its width less the margin; a view too narrow
    // for any frame still gets one pixel.
    int height = std::max(kFrameStartHeight, view_height - kFrameMargin);
    int width = height - kClipFrameExtraHeight;
    if (width > view_width - kFrameMargin) width = std::max(1, view_width - kFrameMargin);
    height = width + kClipFrameExtraHeight;
    return {view_width / 2 - width / 2, view_height / 2 - height / 2, width, height};
}

SliderRange ClipMoveRange(int view_extent, int viewer_extent)
{
    return {-viewer_extent, view_extent > viewer_extent ? view_extent : viewer_extent - view_extent};
}

std::optional<FrameBounds> ReadClipGeometry(const std::vector<std::string>& sub_items)
{
    if (sub_items.size() < 6) return std::nullopt;
    const std::optional<int> x = Number(sub_items[2]), y = Number(sub_items[3]), w = Number(sub_items[4]),
                             h = Number(sub_items[5]);
    if (!x || !y || !w || !h || *w <= 0 || *h <= 0) return std::nullopt;
    return FrameBounds{*x, *y, *w, *h};
}

void WriteClipGeometry(std::vector<std::string>& sub_items, const FrameBounds& geometry)
{
    if (sub_items.size() < 6) sub_items.resize(6);
    sub_items[2] = std::to_string(geometry.left);
    sub_items[3] = std::to_string(geometry.top);
    sub_items[4] = std::to_string(geometry.width);
    sub_items[5] = std::to_string(geometry.height);
}

bool StagedClipPhotoReadable(const std::filesystem::path& work_dir)
{
    try {
        const std::vector<std::uint8_t> bytes = gfx::ReadFileBytes(work_dir / "jjzp" / "zpjj.jpg");
        switch (gfx::DetectImageFormat(bytes)) {
        case gfx::ImageFormat::Jpeg:
            // A small decode finds a damaged body without the cost of the
            // full picture.
            return !gfx::DecodeJpeg(bytes, 8, gfx::DamagedData::Refused).Empty();
        case gfx::ImageFormat::Bmp:
        case gfx::ImageFormat::Png: return !gfx::DecodeImage(bytes).Empty();
        case gfx::ImageFormat::Unknown: return false;
        }
    } catch (const std::exception&) {}
    return false;
}

}  // namespace app
