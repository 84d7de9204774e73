#include "sample_photos.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

TColor ToColor(Rgb c)
{
    auto ch = [](double v) { return static_cast<int>(std::clamp(v, 0.0, 255.0)); };
    return gfx::RGB(ch(c.r), ch(c.g), ch(c.b));
}

// A colour of the given hue (0..1) with full saturation and value.
Rgb Hue(double h, double lightness)
{
    double r = std::abs(h * 6 - 3) - 1, g = 2 - std::abs(h * 6 - 2), b = 2 - std::abs(h * 6 - 4);
    auto c = [&](double v) { return std::clamp(v, 0.0, 1.0) * 255 * lightness; };
    return {c(r), c(g), c(b)};
}

}  // namespace

TBitmap SamplePhoto(int index, int width, int height)
{
    TBitmap photo(width, height);
    const double hue = std::fmod(index * 0.137 + 0.55, 1.0);
    const Rgb sky_top = Hue(hue, 0.55),
              sky_low = Mix(Hue(std::fmod(hue + 0.08, 1.0), 1.0), {255, 240, 220}, 0.55);
    const Rgb hill_far = Mix(Hue(std::fmod(hue + 0.3, 1.0), 0.5), {60, 70, 90}, 0.5);
    const Rgb hill_near = Mix(Hue(std::fmod(hue + 0.35, 1.0), 0.35), {20, 30, 25}, 0.4);
    const double sun_x = width * (0.25 + 0.5 * std::fmod(index * 0.31, 1.0)), sun_y = height * 0.35;
    const double sun_r = std::min(width, height) * 0.09;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = photo.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            double fx = static_cast<double>(x) / width, fy = static_cast<double>(y) / height;
            Rgb c = Mix(sky_top, sky_low, std::pow(fy, 0.8));
            double d = std::hypot(x - sun_x, y - sun_y);
            if (d < sun_r * 4) c = Mix(c, {255, 250, 230}, std::pow(1 - d / (sun_r * 4), 2) * 0.6);
            if (d < sun_r) c = {255, 248, 225};
            double far = 0.58 + 0.06 * std::sin(fx * 7 + index) + 0.03 * std::sin(fx * 19 + index * 2);
            double near = 0.74 + 0.08 * std::sin(fx * 4.5 + index * 1.7) + 0.02 * std::sin(fx * 31);
            if (fy > far) c = Mix(hill_far, c, 0.15 * (1 - (fy - far) * 4));
            if (fy > near) c = Mix(hill_near, hill_far, std::clamp((fy - near) * -3 + 0.3, 0.0, 0.3));
            row[x] = ToColor(c);
        }
    }
    return photo;
}
