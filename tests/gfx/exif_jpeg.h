#pragma once
// JPEG files carrying an EXIF orientation, for the orientation tests: the
// project's own writer, then an APP1 segment put in after the start marker.
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"

namespace gfx_test {

using Bytes = std::vector<std::uint8_t>;

struct TiffEntry {
    std::uint16_t tag, type;
    std::uint32_t count, value;  // a short value sits in the first two bytes
};

// A TIFF header and IFD0 with the entries, in either byte order.
inline Bytes ExifTiff(bool big_endian, const std::vector<TiffEntry>& entries)
{
    Bytes b;
    auto u16 = [&](std::uint16_t v) {
        if (big_endian)
            b.insert(b.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        else
            b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    auto u32 = [&](std::uint32_t v) {
        if (big_endian) {
            u16(std::uint16_t(v >> 16));
            u16(std::uint16_t(v));
        } else {
            u16(std::uint16_t(v));
            u16(std::uint16_t(v >> 16));
        }
    };
    b.insert(b.end(), big_endian ? std::initializer_list<std::uint8_t>{'M', 'M'}
                                 : std::initializer_list<std::uint8_t>{'I', 'I'});
    u16(42);
    u32(8);
    u16(static_cast<std::uint16_t>(entries.size()));
    for (const TiffEntry& e : entries) {
        u16(e.tag);
        u16(e.type);
        u32(e.count);
        if (e.type == 3) {
            u16(static_cast<std::uint16_t>(e.value));
            u16(0);
        } else {
            u32(e.value);
        }
    }
    u32(0);  // no next directory
    return b;
}

// The orientation tag alone, as cameras write it.
inline Bytes OrientationTiff(bool big_endian, std::uint16_t orientation)
{
    return ExifTiff(big_endian, {{0x0112, 3, 1, orientation}});
}

// An application segment of the given marker holding `payload`.
inline Bytes Segment(std::uint8_t marker, const Bytes& payload)
{
    const std::size_t length = payload.size() + 2;
    Bytes b;
    b.reserve(length + 2);
    for (std::uint8_t head : {std::uint8_t(0xFF), marker, std::uint8_t(length >> 8), std::uint8_t(length)})
        b.push_back(head);
    for (std::uint8_t byte : payload) b.push_back(byte);
    return b;
}

inline Bytes ExifSegment(const Bytes& tiff)
{
    Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
    for (std::uint8_t byte : tiff) payload.push_back(byte);
    return Segment(0xE1, payload);
}

// The JPEG with the segments right after its start marker.
inline Bytes WithSegments(Bytes jpeg, const Bytes& segments)
{
    jpeg.insert(jpeg.begin() + 2, segments.begin(), segments.end());
    return jpeg;
}

// Four quadrants of their own colour as stored: red top left, lime top
// right, blue bottom left, yellow bottom right.
inline TBitmap Quadrants(int width, int height)
{
    TBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(
                x, y,
                y < height / 2 ? (x < width / 2 ? clRed : clLime) : (x < width / 2 ? clBlue : clYellow));
    return b;
}

// The quadrant colour nearest to a decoded pixel, as one letter: R, G, B, Y.
inline char QuadrantAt(const TBitmap& b, int x, int y)
{
    const TColor p = b.Pixel(x, y);
    const struct {
        TColor colour;
        char name;
    } known[] = {{clRed, 'R'}, {clLime, 'G'}, {clBlue, 'B'}, {clYellow, 'Y'}};
    char best = '?';
    int best_distance = 3 * 64;  // farther than that is no quadrant colour
    for (const auto& k : known) {
        const int d = std::abs(int(gfx::GetRValue(p)) - int(gfx::GetRValue(k.colour))) +
                      std::abs(int(gfx::GetGValue(p)) - int(gfx::GetGValue(k.colour))) +
                      std::abs(int(gfx::GetBValue(p)) - int(gfx::GetBValue(k.colour)));
        if (d < best_distance) best_distance = d, best = k.name;
    }
    return best;
}

// The quadrant letters at the four corners, a few pixels in: top left, top
// right, bottom left, bottom right.
inline std::string Corners(const TBitmap& b, int inset = 3)
{
    const int r = b.Width() - 1 - inset, d = b.Height() - 1 - inset;
    return {QuadrantAt(b, inset, inset), QuadrantAt(b, r, inset), QuadrantAt(b, inset, d),
            QuadrantAt(b, r, d)};
}

}  // namespace gfx_test
