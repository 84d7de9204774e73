#include "platform/gfx/orientation.h"

#include <utility>

namespace gfx {

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

TSize OrientedSize(TSize stored, int orientation)
{
    return OrientationSwapsSides(orientation) ? TSize{stored.cy, stored.cx} : stored;
}

TBitmap ApplyOrientation(TBitmap stored, int orientation)
{
    if (orientation < 2 || orientation > 8 || stored.Empty()) return stored;
    const int w = stored.Width(), h = stored.Height();
    const TSize size = OrientedSize({w, h}, orientation);
    TBitmap shown(size.cx, size.cy);
    shown.SetHasAlpha(stored.HasAlpha());
    shown.SetPixelFormat(stored.PixelFormat());
    for (int y = 0; y < size.cy; ++y) {
        std::uint32_t* out = shown.ScanLine(y);
        for (int x = 0; x < size.cx; ++x) {
            // The stored pixel that shows at x, y.
            int sx = x, sy = y;
            switch (orientation) {
            case 2: sx = w - 1 - x; break;
            case 3: sx = w - 1 - x, sy = h - 1 - y; break;
            case 4: sy = h - 1 - y; break;
            case 5: sx = y, sy = x; break;
            case 6: sx = y, sy = h - 1 - x; break;
            case 7: sx = w - 1 - y, sy = h - 1 - x; break;
            case 8: sx = w - 1 - y, sy = x; break;
            }
            out[x] = stored.ScanLine(sy)[sx];
        }
    }
    return shown;
}

}  // namespace gfx
