#pragma once
// Small pictures written as rows of letters, one letter a colour, so that
// the drawing tests read as the pixels they expect.
#include <map>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace skintest {

// '.' black, 'M' magenta, 'w' white; other letters are distinct greys.
inline TColor ColourOf(char c)
{
    switch (c) {
    case '.': return clBlack;
    case 'M': return clMagenta;
    case 'w': return clWhite;
    default: return gfx::RGB(c, c, 0x40);
    }
}

inline char LetterOf(TColor c)
{
    c = gfx::ColorRGB(c);
    if (c == clBlack) return '.';
    if (c == clMagenta) return 'M';
    if (c == clWhite) return 'w';
    if (gfx::GetBValue(c) == 0x40 && gfx::GetRValue(c) == gfx::GetGValue(c))
        return static_cast<char>(gfx::GetRValue(c));
    return '?';
}

inline TBitmap Picture(const std::vector<std::string>& rows)
{
    TBitmap b(static_cast<int>(rows.empty() ? 0 : rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, ColourOf(rows[y][x]));
    return b;
}

inline std::vector<std::string> Rows(const TBitmap& b)
{
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) row += LetterOf(b.Pixel(x, y));
        rows.push_back(row);
    }
    return rows;
}

}  // namespace skintest
