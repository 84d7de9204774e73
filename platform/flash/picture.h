#pragma once
// A picture ready for the movie renderer: premultiplied 0xAABBGGRR pixels
// and a chain of half-size levels, so that shrinking stays smooth and cheap.
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

class TBitmap;

namespace flash {

// Leaves the elements of a resized vector uninitialised: every level's
// pixels are written whole once made, and a photo's first level is millions
// of them, which clearing first would write twice.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept
    {}
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

struct PictureLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t, UninitialisedAllocator<std::uint32_t>> pixels;  // premultiplied, row by row
    bool opaque = false;                                                       // every pixel has alpha 255
};

struct Picture {
    std::vector<PictureLevel> levels;  // levels[0] full size, then halves
    int Width() const { return levels.empty() ? 0 : levels[0].width; }
    int Height() const { return levels.empty() ? 0 : levels[0].height; }
    // The level to sample when one source pixel of level 0 covers `scale`
    // target pixels.
    const PictureLevel& LevelFor(double scale) const;
};

using PicturePtr = std::shared_ptr<const Picture>;

// From a bitmap; its top byte is straight alpha when HasAlpha(), else opaque.
PicturePtr MakePicture(const TBitmap& bitmap);
// From an 8-bit coverage mask (row by row) in one colour (0xAABBGGRR).
PicturePtr MakeMaskPicture(std::span<const std::uint8_t> coverage, int width, int height,
                           std::uint32_t color);

// Decodes JPEG or PNG (by content). Large JPEG photos are decoded at a
// reduced size that still covers min_width x min_height. Throws
// gfx::ImageError for data that is not a readable picture.
PicturePtr DecodePicture(std::span<const std::uint8_t> data, int min_width = 1536, int min_height = 1152);

}  // namespace flash
