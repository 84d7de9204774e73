#pragma once
// Basic value types of the graphics layer: colours, points, sizes, rectangles.
//
// TColor is a 32-bit value laid out 0x00BBGGRR: red in the low byte. Bitmaps
// store pixels in the same layout, so a TColor compares equal to a pixel.
// In a bitmap with an alpha channel the top byte is the pixel's opacity.
#include <algorithm>
#include <cstdint>

using TColor = std::uint32_t;

namespace gfx {
constexpr TColor RGB(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GetAValue(TColor c) { return static_cast<int>((c >> 24) & 0xFF); }
// The colour without its top (alpha) byte.
constexpr TColor ColorRGB(TColor c) { return c & 0x00FFFFFFu; }
// a*c1 + (1-a)*c2 per channel, a in 0..255; the result's top byte is 0.
constexpr TColor MixColor(TColor c1, TColor c2, int a)
{
    auto mix = [a](int x, int y) { return (x * a + y * (255 - a) + 127) / 255; };
    return RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
               mix(GetBValue(c1), GetBValue(c2)));
}
}  // namespace gfx

// Plain colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clMagenta = 0xFF00FF;  // the transparency key
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
// Not a colour: "no colour" / "use the default". Never drawn.
constexpr TColor clNone = 0x1FFFFFFF;

// The desktop's element colours, fixed to the classic light scheme.
constexpr TColor clBtnFace = 0xD8E9EC;
constexpr TColor clBtnShadow = 0x99A8AC;
constexpr TColor clBtnHighlight = 0xFFFFFF;
constexpr TColor clBtnText = 0x000000;
constexpr TColor cl3DDkShadow = 0x646F71;
constexpr TColor cl3DLight = 0xE2EFF1;
constexpr TColor clWindow = 0xFFFFFF;
constexpr TColor clWindowText = 0x000000;
constexpr TColor clWindowFrame = 0x000000;
constexpr TColor clHighlight = 0xC56A31;
constexpr TColor clHighlightText = 0xFFFFFF;
constexpr TColor clGrayText = 0x99A8AC;
constexpr TColor clMenu = 0xFFFFFF;
constexpr TColor clMenuText = 0x000000;
constexpr TColor clMenuBar = 0xD8E9EC;
constexpr TColor clMenuHighlight = 0xC56A31;
constexpr TColor clActiveCaption = 0xE35400;
constexpr TColor clInactiveCaption = 0xDBAD7A;
constexpr TColor clCaptionText = 0xFFFFFF;
constexpr TColor clInactiveCaptionText = 0xF8E4D8;
constexpr TColor clActiveBorder = 0xD8E9EC;
constexpr TColor clInactiveBorder = 0xD8E9EC;
constexpr TColor clAppWorkSpace = 0x808080;
constexpr TColor clBackground = 0x984E00;
constexpr TColor clInfoBk = 0xE1FFFF;
constexpr TColor clInfoText = 0x000000;
constexpr TColor clScrollBar = 0xC8D0D4;

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
    constexpr TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
    constexpr TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

struct TSize {
    int cx = 0;
    int cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle with exclusive Right and Bottom: it covers the pixels
// Left <= x < Right, Top <= y < Bottom.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint topLeft, TPoint bottomRight)
        : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y)
    {}
    friend constexpr bool operator==(const TRect&, const TRect&) = default;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Pixel containment (right and bottom exclusive).
    constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    constexpr bool Contains(TPoint p) const { return Contains(p.X, p.Y); }
    constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    constexpr TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    // The common part; an empty rectangle (all zero) when they don't meet.
    constexpr TRect Intersect(const TRect& o) const
    {
        TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                std::min(Bottom, o.Bottom)};
        return r.IsEmpty() ? TRect{} : r;
    }
    // The smallest rectangle holding both; an empty side is ignored.
    constexpr TRect Union(const TRect& o) const
    {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
                std::max(Bottom, o.Bottom)};
    }
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}
