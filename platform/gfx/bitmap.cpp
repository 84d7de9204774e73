#include "platform/gfx/bitmap.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TColor fill)
{
    SetSize(width, height);
    Fill(fill);
}

TBitmap::TBitmap(const TBitmap& other) : TObject() { Assign(other); }

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    Assign(other);
    return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept { *this = std::move(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept
{
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = std::move(other.pixels_);
    transparent_ = other.transparent_;
    transparent_color_ = other.transparent_color_;
    has_alpha_ = other.has_alpha_;
    pixel_format_ = other.pixel_format_;
    other.width_ = other.height_ = 0;
    other.pixels_.clear();
    // Our own canvas (if any) stays bound to us; the other's stays with it.
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TBitmap& other)
{
    if (this == &other) return;
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = other.pixels_;
    transparent_ = other.transparent_;
    transparent_color_ = other.transparent_color_;
    has_alpha_ = other.has_alpha_;
    pixel_format_ = other.pixel_format_;
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    if (static_cast<long long>(width) * height > gfx::kMaxImagePixels * 4)
        throw std::length_error("bitmap too large");
    std::vector<std::uint32_t> next(static_cast<std::size_t>(width) * height, 0u);
    const int cw = std::min(width, width_), ch = std::min(height, height_);
    for (int y = 0; y < ch; ++y)
        std::copy_n(pixels_.data() + static_cast<std::size_t>(y) * width_, cw,
                    next.data() + static_cast<std::size_t>(y) * width);
    pixels_ = std::move(next);
    width_ = width;
    height_ = height;
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void TBitmap::SetPixel(int x, int y, TColor c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
}

void TBitmap::Fill(TColor c) { std::fill(pixels_.begin(), pixels_.end(), c); }

TCanvas& TBitmap::Canvas()
{
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(*this);
    return *canvas_;
}

void TBitmap::LoadFromFile(const std::filesystem::path& path)
{
    TBitmap loaded = gfx::LoadImage(path);
    const bool transparent = transparent_;
    const TColor key = transparent_color_;
    *this = std::move(loaded);
    transparent_ = transparent;
    transparent_color_ = key;
}

void TBitmap::SaveToFile(const std::filesystem::path& path) const { gfx::SaveBmp(*this, path); }
