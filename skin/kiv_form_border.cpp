#include "skin/kiv_form_border.h"

#include <algorithm>

namespace skin {

int SkinBorderWidthAnswer(int left) { return left != 0 ? std::max(left, 4) : 0; }

TRect SkinClientProposal(const TRect& window, int left, int right, int bottom, int borderWidth)
{
    TRect r{window.Left, window.Top, window.Right, window.Bottom};
    if (left != 0) {
        r.Left = window.Left + std::max(left, 4) - 3;
        r.Right = window.Right - std::max(right, 4) + 3;
    }
    if (bottom != 0)
        r.Bottom = window.Bottom - std::max(bottom, 4) + 3;
    else
        r.Bottom = borderWidth == 3 ? window.Bottom : window.Bottom - borderWidth + 2;
    return r;
}

TRect SkinFrameInsets(int width, int height, int left, int right, int bottom, int borderWidth)
{
    const TRect window{0, 0, width, height};
    const TRect p = SkinClientProposal(window, left, right, bottom, borderWidth);
    // A proposal that would grow the client (a border of 1 asks for one
    // row below the window) is held by the host's frame.
    const int f = kHostDialogFrame;
    return {std::max(0, p.Left + f), std::max(0, p.Top + f), std::max(0, width - p.Right + f),
            std::max(0, height - p.Bottom + f)};
}

gfx::Region BuiltInWindowRegion(int width, int height, int roundCorner, int roundCornerBottom)
{
    const int half = height / 2;
    const int rc = std::max(0, roundCorner);
    const int rb = std::max(0, roundCornerBottom);
    gfx::Region top = rc > 0 ? gfx::Region::RoundRect({0, 0, width + 1, half + 1}, rc, rc)
                             : gfx::Region(TRect{0, 0, width, half + 1});
    top |= gfx::Region(TRect{0, half - 2 * rc, 2 * rc, half});
    top |= gfx::Region(TRect{width - 2 * rc, half - 2 * rc, width, half});
    gfx::Region bottom = rb > 0 ? gfx::Region::RoundRect({0, half, width + 1, height + 1}, rb, rb)
                                : gfx::Region(TRect{0, half, width, height});
    bottom |= gfx::Region(TRect{0, half, 2 * rb, half + 2 * rb});
    bottom |= gfx::Region(TRect{width - 2 * rb, half, width, half + 2 * rb});
    // The round rectangles reach one pixel past the window: keep it inside.
    return top.Union(bottom).Intersect(gfx::Region(TRect{0, 0, width, height}));
}

namespace {

// Adds the scanned part of one bitmap, its row 0 at window row `offset`.
void ScanPart(gfx::Region& region, const TBitmap& b, int minY, int maxY, TColor transparent, int offset,
              int width)
{
    const int h = b.Height();
    int from = std::clamp(minY < 0 ? 0 : minY, 0, h);
    int to = minY >= maxY ? h : std::clamp(maxY + 1, from, h);
    if (from >= 1) region |= gfx::Region(TRect{0, offset, width, offset + from});
    const TColor key = gfx::ColorRGB(transparent);
    const int w = std::min(width, b.Width());
    for (int y = from; y < to; ++y) {
        int x = 0;
        while (x < w) {
            while (x < w && gfx::ColorRGB(b.Pixel(x, y)) == key) ++x;
            const int start = x;
            while (x < w && gfx::ColorRGB(b.Pixel(x, y)) != key) ++x;
            if (x > start) region |= gfx::Region(TRect{start, offset + y, x, offset + y + 1});
        }
    }
    if (to < h) region |= gfx::Region(TRect{0, offset + to, width, offset + h});
}

}  // namespace

gfx::Region CreateRegionFromBitmaps(const RegionScan& scan, int height, int width)
{
    gfx::Region region;
    const bool title = scan.titleNeedsRegion && scan.title && !scan.title->Empty();
    const bool bottom = scan.bottomNeedsRegion && scan.bottom && !scan.bottom->Empty();
    const int titleHeight = title ? scan.title->Height() : 0;
    const int bottomHeight = bottom ? scan.bottom->Height() : 0;
    if (title) ScanPart(region, *scan.title, scan.titleMinY, scan.titleMaxY, scan.transparent, 0, width);
    if (height - bottomHeight > titleHeight)
        region |= gfx::Region(TRect{0, titleHeight, width, height - bottomHeight});
    if (bottom)
        ScanPart(region, *scan.bottom, scan.bottomMinY, scan.bottomMaxY, scan.transparent,
                 height - bottomHeight, width);
    return region;
}

}  // namespace skin
