#pragma once
// Thumbnails of photo files for the photo import: the picture decoded and
// scaled to fit a frame, its aspect kept, larger or smaller than the file.
// JPEG files are decoded at a reduced size in the DCT domain first, so that
// large camera pictures are quick. EXIF orientation is not applied.
#include <filesystem>
#include <optional>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/types.h"

namespace shell {

namespace fs = std::filesystem;

// The largest size with the picture's aspect that fits inside `frame`, at
// least 1 x 1. An empty picture or frame gives 0 x 0.
TSize FitInside(TSize picture, TSize frame);

// Why a file has no thumbnail.
enum class ThumbnailFault {
    None,
    Unreadable,  // missing, not a picture, cut short or corrupt
    TooLarge,    // beyond gfx::CheckPictureSize
};

// The file's picture scaled to FitInside(its size, frame), or nothing when
// the file cannot be read or decoded (JPEG, PNG and BMP are understood); a
// JPEG whose data is cut short or corrupt has none, rather than one with a
// made-up part. `fault`, when given, says why there is none.
std::optional<TBitmap> ExtractThumbnail(const fs::path& file, TSize frame, ThumbnailFault* fault = nullptr);

// The picture to show for a file: its thumbnail, or PictureIcon() when it
// has none. Never empty, and never anything left from an earlier file.
TBitmap ThumbnailOrIcon(const fs::path& file, TSize frame, ThumbnailFault* fault = nullptr);

// Where a picture's top-left corner goes when it is centred in a frame of
// the given size (as an image control with centring on places it).
TPoint CentredOrigin(TSize frame, TSize picture);

}  // namespace shell
