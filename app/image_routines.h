#pragma once
// The album's picture files: every picture it writes is a JPEG with the
// encoder's defaults (quality 90, colour, baseline).
#include <filesystem>

class TBitmap;

namespace app {

inline constexpr int kJpegQuality = 90;

// Writes the bitmap as a JPEG file, replacing an existing one. A file that
// cannot be written throws gfx::ImageError.
void SaveBitmapAsJpeg(const TBitmap& bitmap, const std::filesystem::path& file);

// Loads a picture file (BMP, JPEG or PNG) and writes it as a JPEG file. The
// message queue runs once before the load. Throws gfx::ImageError when the
// source cannot be read (the destination is then left as it was) or the
// destination cannot be written.
void ConvertImageToJpeg(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace app
