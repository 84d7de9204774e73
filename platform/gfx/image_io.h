#pragma once
// Image files: BMP, JPEG and PNG, from memory or from files. Every decoder
// checks its input; a file that cannot be read throws gfx::ImageError.
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace gfx {

class ImageError : public std::runtime_error {
public:
    enum class Kind {
        Io,           // the file cannot be opened, read or written
        Corrupt,      // the data is malformed or truncated
        Unsupported,  // well-formed, but a variant this reader does not handle
        TooLarge,     // well-formed, but beyond the picture limits below
    };
    ImageError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

enum class ImageFormat { Unknown, Bmp, Jpeg, Png };
ImageFormat DetectImageFormat(std::span<const std::uint8_t> data);

// Largest decoded picture, so hostile headers cannot ask for huge buffers.
inline constexpr int kMaxImageDimension = 16384;
inline constexpr std::int64_t kMaxImagePixels = 64LL * 1024 * 1024;
// Largest picture a JPEG file may hold: one beyond the decoded limit comes
// out at half size (or less), so that panoramas and big camera pictures
// still decode. BMP and PNG pictures decode whole and keep the limit above.
inline constexpr int kMaxJpegDimension = 2 * kMaxImageDimension;
inline constexpr std::int64_t kMaxJpegPixels = 4 * kMaxImagePixels;

// The one check of a picture's size in a file, before anything is decoded;
// every reader here applies it, whatever scale it decodes at. Throws
// ImageError::Kind::TooLarge with a text that names the limit.
void CheckPictureSize(TSize size, ImageFormat format);

// BMP: 1, 4, 8, 16, 24 and 32 bits, bottom-up and top-down, BI_RGB and
// BI_BITFIELDS. Writing gives 24 bits, bottom-up.
TBitmap DecodeBmp(std::span<const std::uint8_t> data);
// The picture's size from its header, without decoding; a header that
// DecodeBmp would refuse for its size or form throws as it would.
TSize BmpSize(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> EncodeBmp(const TBitmap& bitmap);

// What a JPEG decode does with a file whose data is cut short or corrupt:
// Shown leaves the part it could not read grey or smeared, as viewers do;
// Refused throws ImageError::Kind::Corrupt.
enum class DamagedData { Shown, Refused };

// JPEG: scaleDenom 1, 2, 4 or 8 decodes at 1/scaleDenom of the size in the
// DCT domain (ceil(w / scaleDenom) x ceil(h / scaleDenom)), fast for
// thumbnails; a picture that would pass the decoded limit at that scale
// comes out at the next scale that fits. Grey and CMYK pictures come out
// as RGB, turned and mirrored as their EXIF orientation says
// (exif_orientation.h), so that every photo shows the way the camera meant
// it. Writing: baseline, colour (4:2:0), the given quality, no orientation.
TBitmap DecodeJpeg(std::span<const std::uint8_t> data, int scaleDenom = 1,
                   DamagedData damaged = DamagedData::Shown);
std::vector<std::uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality = 90);
// The picture's size from its header, without decoding, as DecodeJpeg
// gives it at scale 1 within the decoded limit (sides exchanged by a
// quarter-turn orientation); a picture beyond CheckPictureSize throws.
TSize JpegSize(std::span<const std::uint8_t> data);
// The largest of 1, 2, 4, 8 that still gives at least minWidth x minHeight.
int JpegScaleFor(TSize pictureSize, int minWidth, int minHeight);

// PNG: every colour type and depth; pictures with transparency come out
// with HasAlpha() set. Writing gives RGB, or RGBA when HasAlpha().
TBitmap DecodePng(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> EncodePng(const TBitmap& bitmap);

// Decodes BMP, JPEG or PNG by content.
TBitmap DecodeImage(std::span<const std::uint8_t> data);

// File forms. Saving replaces an existing file.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> data);
TBitmap LoadImage(const std::filesystem::path& path);
TBitmap LoadBmp(const std::filesystem::path& path);
TBitmap LoadJpeg(const std::filesystem::path& path, int scaleDenom = 1);
TBitmap LoadPng(const std::filesystem::path& path);
void SaveBmp(const TBitmap& bitmap, const std::filesystem::path& path);
void SaveJpeg(const TBitmap& bitmap, const std::filesystem::path& path, int quality = 90);
void SavePng(const TBitmap& bitmap, const std::filesystem::path& path);

}  // namespace gfx
