#pragma once
// Helpers for pixel-probe tests on tiny bitmaps.
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace gfx_test {

// The bitmap as rows of characters: '#' where the pixel is `ink`, '.' where
// it is `paper`, 'o' elsewhere.
inline std::vector<std::string> Map(const TBitmap& b, TColor ink, TColor paper = clBlack)
{
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) {
            const TColor p = b.Pixel(x, y);
            row += p == ink ? '#' : p == paper ? '.' : 'o';
        }
        rows.push_back(row);
    }
    return rows;
}

inline int Count(const TBitmap& b, TColor c)
{
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c;
    return n;
}

}  // namespace gfx_test
