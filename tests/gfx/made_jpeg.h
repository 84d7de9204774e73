#pragma once
// JPEG files for the decoder's limits and damage: a whole grey picture of any
// size, written marker by marker (every block codes in two bits, so even
// 12000 x 9000 is a few hundred kilobytes), a header that claims another
// size than its data, and a file cut short.
#include <cstdint>
#include <vector>

namespace gfx_test {

using JpegBytes = std::vector<std::uint8_t>;

// A complete, correct baseline grey JPEG of width x height, mid-grey.
inline JpegBytes GreyJpeg(int width, int height)
{
    JpegBytes b = {0xFF, 0xD8};
    auto u16 = [&](int v) { b.insert(b.end(), {std::uint8_t(v >> 8), std::uint8_t(v)}); };
    // Quantisation: every step 1.
    b.insert(b.end(), {0xFF, 0xDB});
    u16(67);
    b.push_back(0x00);
    b.insert(b.end(), 64, 1);
    // One 8-bit component, no subsampling.
    b.insert(b.end(), {0xFF, 0xC0});
    u16(11);
    b.push_back(8);
    u16(height);
    u16(width);
    b.insert(b.end(), {1, 1, 0x11, 0});
    // DC and AC tables with one code each, "0": DC difference 0, end of block.
    for (std::uint8_t table : {0x00, 0x10}) {
        b.insert(b.end(), {0xFF, 0xC4});
        u16(20);
        b.push_back(table);
        b.push_back(1);
        b.insert(b.end(), 15, 0);
        b.push_back(0);
    }
    b.insert(b.end(), {0xFF, 0xDA});
    u16(8);
    b.insert(b.end(), {1, 1, 0x00, 0, 63, 0});
    const std::int64_t blocks = static_cast<std::int64_t>((width + 7) / 8) * ((height + 7) / 8);
    const std::int64_t bits = blocks * 2;
    b.insert(b.end(), static_cast<std::size_t>(bits / 8), 0x00);
    if (bits % 8) b.push_back(static_cast<std::uint8_t>(0xFF >> (bits % 8)));  // padded with ones
    b.insert(b.end(), {0xFF, 0xD9});
    return b;
}

// The same file with its frame header claiming width x height.
inline JpegBytes ClaimSize(JpegBytes file, int width, int height)
{
    for (std::size_t i = 0; i + 8 < file.size(); ++i) {
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
            file[i + 5] = std::uint8_t(height >> 8);
            file[i + 6] = std::uint8_t(height);
            file[i + 7] = std::uint8_t(width >> 8);
            file[i + 8] = std::uint8_t(width);
            break;
        }
    }
    return file;
}

// The first `percent` of the file.
inline JpegBytes CutAt(const JpegBytes& file, int percent)
{
    return JpegBytes(file.begin(), file.begin() + static_cast<long>(file.size() * percent / 100));
}

}  // namespace gfx_test
