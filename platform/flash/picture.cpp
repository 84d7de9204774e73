#include "platform/flash/picture.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"

namespace flash {

namespace {

std::uint32_t Premultiply(std::uint32_t pixel, std::uint32_t alpha)
{
    if (alpha == 255) return pixel | 0xFF000000u;
    if (alpha == 0) return 0;
    std::uint32_t rb = ((pixel & 0x00FF00FFu) * alpha + 0x00800080u);
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t g = ((pixel & 0x0000FF00u) * alpha + 0x00008000u);
    g = ((g + ((g >> 8) & 0x0000FF00u)) >> 8) & 0x0000FF00u;
    return rb | g | (alpha << 24);
}

// Adds half-size levels down to a few pixels, each a 2 x 2 box average.
void BuildLevels(Picture& picture)
{
    while (true) {
        const PictureLevel& from = picture.levels.back();
        if (from.width < 8 || from.height < 8) break;
        PictureLevel to;
        to.width = from.width / 2;
        to.height = from.height / 2;
        to.pixels.resize(static_cast<std::size_t>(to.width) * to.height);
        for (int y = 0; y < to.height; ++y) {
            const std::uint32_t* r0 = from.pixels.data() + static_cast<std::size_t>(2 * y) * from.width;
            const std::uint32_t* r1 = r0 + from.width;
            std::uint32_t* out = to.pixels.data() + static_cast<std::size_t>(y) * to.width;
            for (int x = 0; x < to.width; ++x) {
                std::uint32_t a = r0[2 * x], b = r0[2 * x + 1], c = r1[2 * x], d = r1[2 * x + 1];
                std::uint32_t rb = (a & 0x00FF00FFu) + (b & 0x00FF00FFu) + (c & 0x00FF00FFu) +
                                   (d & 0x00FF00FFu) + 0x00020002u;
                std::uint32_t ag = ((a >> 8) & 0x00FF00FFu) + ((b >> 8) & 0x00FF00FFu) +
                                   ((c >> 8) & 0x00FF00FFu) + ((d >> 8) & 0x00FF00FFu) + 0x00020002u;
                out[x] = ((rb >> 2) & 0x00FF00FFu) | (((ag >> 2) & 0x00FF00FFu) << 8);
            }
        }
        to.opaque = from.opaque;
        picture.levels.push_back(std::move(to));
    }
}

}  // namespace

const PictureLevel& Picture::LevelFor(double scale) const
{
    std::size_t level = 0;
    // Halve while a level pixel would still cover less than half a target pixel.
    while (level + 1 < levels.size() && scale * static_cast<double>(1u << (level + 1)) <= 1.0) ++level;
    return levels[level];
}

PicturePtr MakePicture(const TBitmap& bitmap)
{
    auto picture = std::make_shared<Picture>();
    PictureLevel base;
    base.width = bitmap.Width();
    base.height = bitmap.Height();
    if (base.width <= 0 || base.height <= 0) return nullptr;
    base.pixels.resize(static_cast<std::size_t>(base.width) * base.height);
    const std::uint32_t* src = bitmap.Pixels();
    bool alpha = bitmap.HasAlpha();
    for (std::size_t i = 0; i < base.pixels.size(); ++i) {
        std::uint32_t p = src[i];
        base.pixels[i] = alpha ? Premultiply(p & 0x00FFFFFFu, p >> 24) : (p | 0xFF000000u);
    }
    base.opaque = std::all_of(base.pixels.begin(), base.pixels.end(),
                              [](std::uint32_t p) { return (p >> 24) == 0xFF; });
    picture->levels.push_back(std::move(base));
    BuildLevels(*picture);
    return picture;
}

PicturePtr MakeMaskPicture(std::span<const std::uint8_t> coverage, int width, int height, std::uint32_t color)
{
    if (width <= 0 || height <= 0 || coverage.size() < static_cast<std::size_t>(width) * height)
        return nullptr;
    auto picture = std::make_shared<Picture>();
    PictureLevel base;
    base.width = width;
    base.height = height;
    base.pixels.resize(static_cast<std::size_t>(width) * height);
    std::uint32_t opacity = color >> 24;
    for (std::size_t i = 0; i < base.pixels.size(); ++i) {
        std::uint32_t a = (coverage[i] * opacity + 127) / 255;
        base.pixels[i] = Premultiply(color & 0x00FFFFFFu, a);
    }
    picture->levels.push_back(std::move(base));
    BuildLevels(*picture);
    return picture;
}

PicturePtr DecodePicture(std::span<const std::uint8_t> data, int min_width, int min_height)
{
    if (gfx::DetectImageFormat(data) == gfx::ImageFormat::Jpeg) {
        TSize size = gfx::JpegSize(data);
        int denom = gfx::JpegScaleFor(size, min_width, min_height);
        return MakePicture(gfx::DecodeJpeg(data, denom));
    }
    return MakePicture(gfx::DecodeImage(data));
}

}  // namespace flash
