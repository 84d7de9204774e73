#pragma once
// One decoded picture of a video file, as 8-bit RGB.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace e2e {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // rows top down, 3 bytes a pixel
    const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    bool Empty() const { return rgb.empty(); }
};

// The first picture shown at or after `seconds` from the start of the
// video stream; empty when there is none.
Picture PictureAt(const std::filesystem::path& path, double seconds);

}  // namespace e2e
