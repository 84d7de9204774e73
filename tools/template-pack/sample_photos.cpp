#include "tools/template-pack/sample_photos.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/gfx/image_io.h"

namespace template_pack {
namespace {

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

TColor Pack(Rgb c)
{
    // A NaN from a degenerate point of a scene (its centre, say) is black, not
    // an undefined conversion.
    auto channel = [](double v) {
        if (std::isnan(v)) return std::uint32_t{0};
        return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5);
    };
    return channel(c.r) | (channel(c.g) << 8) | (channel(c.b) << 16);
}

Rgb Unpack(TColor c) { return {double(c & 0xFF), double((c >> 8) & 0xFF), double((c >> 16) & 0xFF)}; }

// A deterministic pseudo-random value in [0, 1) for (seed, n).
double Noise(std::uint32_t seed, std::uint32_t n)
{
    std::uint32_t x = seed * 0x9E3779B1u ^ (n + 0x7F4A7C15u) * 0x85EBCA77u;
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    x *= 0x297A2D39u;
    x ^= x >> 15;
    return (x & 0xFFFFFF) / double(0x1000000);
}

// Rotates a colour's hue a little (per palette variant) in a cheap RGB way.
Rgb Tint(Rgb c, int variant)
{
    switch (variant % 3) {
    case 1: return {c.r * 0.85 + c.b * 0.15, c.g, c.b * 0.85 + c.r * 0.15};
    case 2: return {c.r, c.g * 0.85 + c.b * 0.15, c.b * 0.85 + c.g * 0.15};
    default: return c;
    }
}

class Painter {
public:
    Painter(TBitmap& bitmap, int variant) : b_(bitmap), w_(bitmap.Width()), h_(bitmap.Height()), v_(variant)
    {}

    int W() const { return w_; }
    int H() const { return h_; }

    void Blend(int x, int y, Rgb c, double alpha)
    {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || alpha <= 0) return;
        std::uint32_t& p = b_.ScanLine(y)[x];
        p = Pack(Mix(Unpack(p), Tint(c, v_), alpha));
    }

    // Top to bottom, through the stops at the given fractions of the height.
    void VerticalGradient(const std::vector<std::pair<double, Rgb>>& stops)
    {
        for (int y = 0; y < h_; ++y) {
            const double t = h_ > 1 ? double(y) / (h_ - 1) : 0;
            Rgb c = stops.front().second;
            for (size_t i = 1; i < stops.size(); ++i) {
                if (t <= stops[i].first) {
                    const double span = stops[i].first - stops[i - 1].first;
                    c = Mix(stops[i - 1].second, stops[i].second,
                            span > 0 ? (t - stops[i - 1].first) / span : 1);
                    break;
                }
                c = stops[i].second;
            }
            for (int x = 0; x < w_; ++x) Blend(x, y, c, 1);
        }
    }

    // A disc with a soft edge; glow widens the edge into a halo.
    void Disc(double cx, double cy, double radius, Rgb c, double glow = 1.5)
    {
        const double reach = radius + glow;
        for (int y = std::max(0, int(cy - reach)); y <= std::min(h_ - 1, int(cy + reach)); ++y)
            for (int x = std::max(0, int(cx - reach)); x <= std::min(w_ - 1, int(cx + reach)); ++x) {
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                Blend(x, y, c, d <= radius ? 1 : 1 - (d - radius) / glow);
            }
    }

    // Fills below the curve y = top(x), shaded from its edge down.
    template <class Curve>
    void Ground(Curve top, Rgb edge, Rgb deep)
    {
        for (int x = 0; x < w_; ++x) {
            const double t = top(double(x));
            for (int y = std::max(0, int(t)); y < h_; ++y) {
                const double depth = (y - t) / std::max(1.0, h_ - t);
                Blend(x, y, Mix(edge, deep, depth), std::min(1.0, y + 1 - t));
            }
        }
    }

private:
    TBitmap& b_;
    int w_, h_, v_;
};

void Sunset(Painter& p, std::uint32_t seed)
{
    const double horizon = p.H() * (0.58 + 0.08 * Noise(seed, 1));
    const double hf = horizon / p.H();
    p.VerticalGradient(
        {{0.0, {48, 26, 92}}, {hf * 0.55, {214, 78, 98}}, {hf, {255, 180, 90}}, {1.0, {255, 180, 90}}});
    const double sx = p.W() * (0.4 + 0.35 * Noise(seed, 2));
    const double r = p.H() * 0.11;
    p.Disc(sx, horizon - r * 0.35, r * 2.2, {255, 150, 80}, r * 1.8);
    p.Disc(sx, horizon - r * 0.35, r, {255, 236, 170}, 2);
    // Hills of the far shore, dark against the sky, on the left.
    p.Ground(
        [&](double x) {
            return x < p.W() * 0.35 ? horizon - 8 - 12 * (1 + std::sin(x * 0.03 + seed)) : double(p.H());
        },
        {70, 34, 80}, {70, 34, 80});
    // The sea, lit by the sky near the horizon, and the sun's glitter on it.
    for (int y = int(horizon); y < p.H(); ++y) {
        const double t = (y - horizon) / std::max(1.0, p.H() - horizon);
        for (int x = 0; x < p.W(); ++x) p.Blend(x, y, Mix({200, 90, 110}, {40, 24, 80}, std::sqrt(t)), 1);
    }
    for (int i = 0; i < 60; ++i) {
        const double y = horizon + 2 + (p.H() - horizon) * Noise(seed, 10 + i);
        const double half = r * (0.4 + 0.9 * (y - horizon) / (p.H() - horizon)) * Noise(seed, 80 + i);
        for (int x = int(sx - half); x < int(sx + half); ++x) p.Blend(x, int(y), {255, 210, 130}, 0.75);
    }
}

void Hills(Painter& p, std::uint32_t seed)
{
    p.VerticalGradient({{0.0, {70, 140, 230}}, {0.6, {180, 220, 250}}, {1.0, {200, 230, 250}}});
    p.Disc(p.W() * (0.15 + 0.7 * Noise(seed, 1)), p.H() * 0.18, p.H() * 0.07, {255, 248, 200}, p.H() * 0.05);
    for (int c = 0; c < 4; ++c) {  // clouds
        const double cx = p.W() * Noise(seed, 20 + c), cy = p.H() * (0.1 + 0.25 * Noise(seed, 30 + c));
        for (int k = 0; k < 5; ++k)
            p.Disc(cx + (k - 2) * p.H() * 0.04, cy + (k % 2) * p.H() * 0.015,
                   p.H() * (0.035 + 0.01 * (k % 3)), {255, 255, 255}, 3);
    }
    const Rgb greens[][2] = {
        {{120, 170, 90}, {80, 130, 70}}, {{90, 160, 60}, {50, 120, 40}}, {{60, 130, 40}, {30, 90, 30}}};
    for (int layer = 0; layer < 3; ++layer) {
        const double base = p.H() * (0.5 + 0.14 * layer), amp = p.H() * (0.07 - 0.015 * layer);
        const double f = 0.008 + 0.004 * layer, ph = 6.28 * Noise(seed, 40 + layer);
        p.Ground(
            [&](double x) {
                return base - amp * std::sin(x * f + ph) - amp * 0.4 * std::sin(x * f * 2.7 + ph * 2);
            },
            greens[layer][0], greens[layer][1]);
    }
    for (int t = 0; t < 6; ++t) {  // trees on the nearest hill
        const double x = p.W() * Noise(seed, 50 + t), y = p.H() * (0.8 + 0.12 * Noise(seed, 60 + t));
        p.Disc(x, y, p.H() * 0.03, {30, 80, 35}, 2);
    }
}

void NightSky(Painter& p, std::uint32_t seed)
{
    p.VerticalGradient({{0.0, {10, 16, 80}}, {0.6, {46, 52, 160}}, {1.0, {150, 80, 160}}});
    for (int i = 0; i < p.W() * p.H() / 400; ++i) {
        const double x = p.W() * Noise(seed, 100 + 2 * i), y = p.H() * 0.75 * Noise(seed, 101 + 2 * i);
        p.Disc(x, y, 0.4 + 1.2 * Noise(seed, 5000 + i), {255, 250, 230}, 1.2);
    }
    const double mx = p.W() * (0.6 + 0.3 * Noise(seed, 1)), my = p.H() * 0.22, mr = p.H() * 0.08;
    p.Disc(mx, my, mr * 2.5, {120, 130, 190}, mr * 2);
    p.Disc(mx, my, mr, {250, 245, 220}, 1.5);
    // A city skyline with lit windows.
    double x = 0;
    for (int i = 0; x < p.W(); ++i) {
        const double bw = p.W() * (0.05 + 0.06 * Noise(seed, 200 + i));
        const double top = p.H() * (0.62 + 0.25 * Noise(seed, 300 + i));
        for (int yy = int(top); yy < p.H(); ++yy)
            for (int xx = int(x); xx < int(x + bw); ++xx) {
                const bool window = (xx - int(x)) % 6 >= 2 && (xx - int(x)) % 6 < 4 &&
                                    (yy - int(top)) % 8 >= 3 && (yy - int(top)) % 8 < 6 && xx > int(x) + 1 &&
                                    xx < int(x + bw) - 2 && Noise(seed, xx * 131 + yy * 7) < 0.45;
                p.Blend(xx, yy, window ? Rgb{255, 210, 120} : Rgb{24, 20, 60}, 1);
            }
        x += bw;
    }
}

void Mountains(Painter& p, std::uint32_t seed)
{
    p.VerticalGradient({{0.0, {250, 170, 150}}, {0.5, {250, 220, 190}}, {1.0, {240, 230, 220}}});
    const Rgb rock[] = {{150, 130, 170}, {110, 90, 140}, {70, 60, 100}};
    for (int layer = 0; layer < 3; ++layer) {
        const int peaks = 3 + layer;
        const double base = p.H() * (0.55 + 0.15 * layer);
        auto top = [&](double x) {
            double best = p.H();
            for (int k = 0; k < peaks; ++k) {
                const double px = p.W() * (k + Noise(seed, 10 * layer + k)) / peaks;
                const double ph =
                    base - p.H() * (0.2 + 0.15 * Noise(seed, 50 + 10 * layer + k)) / (1 + 0.4 * layer);
                best = std::min(best, ph + std::abs(x - px) * (0.9 + 0.3 * layer));
            }
            return std::min(best, base);
        };
        p.Ground(top, rock[layer], Mix(rock[layer], {30, 30, 50}, 0.5));
        if (layer == 0)  // snow on the far peaks
            for (int x = 0; x < p.W(); ++x)
                for (int y = int(top(x)); y < top(x) + p.H() * 0.05 && y < base - p.H() * 0.12; ++y)
                    p.Blend(x, y, {250, 250, 255}, 0.9);
    }
    p.Ground([&](double x) { return p.H() * 0.9 + 4 * std::sin(x * 0.05); }, {90, 140, 170}, {60, 100, 140});
}

void Meadow(Painter& p, std::uint32_t seed)
{
    p.VerticalGradient(
        {{0.0, {110, 190, 240}}, {0.45, {210, 235, 250}}, {0.46, {130, 190, 80}}, {1.0, {50, 120, 40}}});
    const Rgb petals[] = {{240, 60, 80}, {255, 200, 40}, {250, 250, 250}, {190, 90, 220}, {255, 130, 40}};
    const int count = p.W() * p.H() / 180;
    for (int i = 0; i < count; ++i) {
        const double t = Noise(seed, 3 * i);
        const double y = p.H() * (0.47 + 0.53 * t * t);
        const double x = p.W() * Noise(seed, 3 * i + 1);
        const double r = 0.8 + 3.5 * (y / p.H() - 0.45);
        p.Disc(x, y, r, petals[int(Noise(seed, 3 * i + 2) * 5) % 5], 1);
        if (r > 2) p.Disc(x, y, r * 0.35, {255, 230, 90}, 0.8);
    }
}

void Pattern(Painter& p, std::uint32_t seed)
{
    const Rgb a = {40 + 200 * Noise(seed, 1), 60 + 150 * Noise(seed, 2), 120 + 130 * Noise(seed, 3)};
    const Rgb b = {255 - a.g * 0.6, 120 + 100 * Noise(seed, 4), 80 + 60 * Noise(seed, 5)};
    const double cx = p.W() * 0.5, cy = p.H() * 0.5;
    for (int y = 0; y < p.H(); ++y)
        for (int x = 0; x < p.W(); ++x) {
            const double d = std::hypot(x - cx, y - cy) / p.H();
            const double ang = std::atan2(y - cy, x - cx);
            const double wave = 0.5 + 0.5 * std::sin(d * 28 + 6 * ang + seed);
            p.Blend(x, y, Mix(a, b, wave * 0.8 + 0.2 * double(y) / p.H()), 1);
        }
    for (int i = 0; i < 12; ++i)
        p.Disc(p.W() * Noise(seed, 10 + i), p.H() * Noise(seed, 30 + i),
               p.H() * (0.03 + 0.07 * Noise(seed, 50 + i)), Mix({255, 255, 255}, b, Noise(seed, 70 + i)),
               2.5);
}

}  // namespace

TBitmap SamplePhoto(int index, int width, int height)
{
    TBitmap bitmap(width, height, clBlack);
    const int scene = ((index % 6) + 6) % 6;
    const int variant = (index / 6) % 3;
    const std::uint32_t seed = static_cast<std::uint32_t>(index) * 7919u + 17u;
    Painter p(bitmap, variant);
    switch (scene) {
    case 0: Sunset(p, seed); break;
    case 1: Hills(p, seed); break;
    case 2: Meadow(p, seed); break;
    case 3: NightSky(p, seed); break;
    case 4: Mountains(p, seed); break;
    default: Pattern(p, seed); break;
    }
    return bitmap;
}

std::vector<std::filesystem::path> WriteSamplePhotos(const std::filesystem::path& folder, int count,
                                                     int width, int height, const std::string& name_prefix)
{
    std::filesystem::create_directories(folder);
    std::vector<std::filesystem::path> paths;
    for (int i = 1; i <= count; ++i) {
        paths.push_back(folder / (name_prefix + std::to_string(i) + ".jpg"));
        gfx::SaveJpeg(SamplePhoto(i - 1, width, height), paths.back(), 90);
    }
    return paths;
}

}  // namespace template_pack
