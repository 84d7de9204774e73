#pragma once
// The sample photos that ship beside the templates: pictures drawn in code
// (sunsets, hills, night skies, mountains, flower meadows, patterns), each
// index a different scene or palette, so that a new user can try the whole
// road from photos to video at once.
#include <filesystem>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace template_pack {

TBitmap SamplePhoto(int index, int width, int height);

// Writes count photos as JPEG files named by name_prefix + number (from 1)
// + ".jpg" into folder (created when missing); returns their paths.
std::vector<std::filesystem::path> WriteSamplePhotos(const std::filesystem::path& folder, int count,
                                                     int width, int height, const std::string& name_prefix);

}  // namespace template_pack
