#include "platform/shell/picture_icon.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/types.h"

namespace shell {

namespace {

constexpr TColor kMountEdge = gfx::RGB(128, 128, 128);
constexpr TColor kMount = gfx::RGB(250, 250, 250);
constexpr TColor kSkyTop = gfx::RGB(86, 156, 230);
constexpr TColor kSkyBottom = gfx::RGB(190, 222, 250);
constexpr TColor kSun = gfx::RGB(255, 206, 64);
constexpr TColor kFarHill = gfx::RGB(96, 168, 88);
constexpr TColor kNearHill = gfx::RGB(52, 128, 60);

}  // namespace

TBitmap PictureIcon(int size)
{
    size = std::max(size, 8);
    TBitmap icon(size, size, kMountEdge);
    // The mount: a one-pixel grey edge around a white border of 1/12.
    const int border = std::max(1, size / 12);
    const int left = 1 + border, top = 1 + border;
    const int right = size - 1 - border, bottom = size - 1 - border;
    for (int y = 1; y < size - 1; ++y) {
        for (int x = 1; x < size - 1; ++x) icon.SetPixel(x, y, kMount);
    }
    const double width = right - left, height = bottom - top;
    const double sunX = left + width * 0.72, sunY = top + height * 0.28, sunR = width * 0.12;
    for (int y = top; y < bottom; ++y) {
        const double v = (y + 0.5 - top) / height;  // 0 at the top of the photo, 1 at its foot
        for (int x = left; x < right; ++x) {
            const double u = (x + 0.5 - left) / width;
            TColor c = gfx::MixColor(kSkyBottom, kSkyTop, static_cast<int>(std::lround(v * 255)));
            const double dx = x + 0.5 - sunX, dy = y + 0.5 - sunY;
            if (dx * dx + dy * dy <= sunR * sunR) c = kSun;
            // Two rounded hills, the far one behind the near one.
            const double far = 0.62 - 0.22 * std::exp(-std::pow((u - 0.30) / 0.22, 2));
            const double near = 0.80 - 0.20 * std::exp(-std::pow((u - 0.78) / 0.25, 2));
            if (v >= far) c = kFarHill;
            if (v >= near) c = kNearHill;
            icon.SetPixel(x, y, c);
        }
    }
    return icon;
}

}  // namespace shell
