#pragma once
// The EXIF orientation of a JPEG file: how the camera held the picture,
// 1 to 8 as the TIFF tag defines them. Anything damaged, missing or out of
// range reads as 1, the picture as stored.
#include <cstdint>
#include <filesystem>
#include <span>

namespace gfx {

int JpegOrientation(std::span<const std::uint8_t> jpeg);
// Reads only the head of the file, where the markers before the picture
// data lie; an unreadable file gives 1.
int JpegOrientation(const std::filesystem::path& file);

}  // namespace gfx
