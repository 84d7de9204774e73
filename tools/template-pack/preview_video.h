#pragma once
// Encodes a template's preview video: frame_count pictures painted one at a
// time, written by libmcl as AVI (25 fps, the pictures' size), or with a
// format preset (an MCL_PRESET_ kind, PAL) such as VCD's MPEG.
#include <filesystem>
#include <functional>

#include "platform/gfx/bitmap.h"

namespace template_pack {

// Paints timeline frame `frame` into target (already at the video's size).
using PaintFrame = std::function<void(int frame, TBitmap& target)>;

// Throws PackError (with the encoder's message) when encoding fails.
// scratch_folder holds the frame picture handed to the encoder.
void EncodePreviewVideo(const std::filesystem::path& output, int frame_count, int width, int height,
                        const PaintFrame& paint, const std::filesystem::path& scratch_folder,
                        int preset = -1);

}  // namespace template_pack
