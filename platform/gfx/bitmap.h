#pragma once
// TBitmap: a 32-bit bitmap, pixels 0x00BBGGRR (0xAABBGGRR with an alpha
// channel), stored contiguously row by row, top row first, no padding.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/core/component.h"
#include "platform/gfx/types.h"

class TCanvas;

// Stored for callers that set it; the pixels are always 32 bits.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TObject {
public:
    TBitmap();
    TBitmap(int width, int height, TColor fill = clBlack);
    TBitmap(const TBitmap& other);             // copies pixels and settings, not the canvas state
    TBitmap& operator=(const TBitmap& other);  // same as Assign
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    ~TBitmap() override;

    void Assign(const TBitmap& other);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Resizing keeps the pixels of the common area; new pixels are black.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    TRect BoundsRect() const { return {0, 0, width_, height_}; }

    // Row y (0 = top) as Width() pixels; rows follow each other without gaps.
    std::uint32_t* ScanLine(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* ScanLine(int y) const
    {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::uint32_t* Pixels() { return pixels_.data(); }
    const std::uint32_t* Pixels() const { return pixels_.data(); }
    // Bounds-checked single pixel access; outside the bitmap reads clNone
    // and writes nothing.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);
    void Fill(TColor c);

    // The drawing surface of this bitmap (created on first use).
    TCanvas& Canvas();

    // Transparent drawing: Draw and StretchDraw leave out the pixels equal
    // to TransparentColor when Transparent is set. The default key is magenta.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    TColor TransparentColor() const { return transparent_color_; }
    void SetTransparentColor(TColor c) { transparent_color_ = c; }

    // With an alpha channel the top byte of each pixel is its opacity
    // (straight, not premultiplied); the canvas then writes opaque pixels.
    bool HasAlpha() const { return has_alpha_; }
    void SetHasAlpha(bool on) { has_alpha_ = on; }
    // What canvas operations OR into each pixel they write.
    std::uint32_t AlphaBits() const { return has_alpha_ ? 0xFF000000u : 0u; }

    TPixelFormat PixelFormat() const { return pixel_format_; }
    void SetPixelFormat(TPixelFormat f) { pixel_format_ = f; }

    // Loading reads BMP, JPEG or PNG by content; saving writes a 24-bit BMP.
    // Both throw gfx::ImageError.
    void LoadFromFile(const std::filesystem::path& path);
    void SaveToFile(const std::filesystem::path& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    bool transparent_ = false;
    TColor transparent_color_ = clMagenta;
    bool has_alpha_ = false;
    TPixelFormat pixel_format_ = pf32bit;
    std::unique_ptr<TCanvas> canvas_;
};
