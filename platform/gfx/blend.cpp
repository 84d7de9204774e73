#include "platform/gfx/blend.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gfx {

Affine Affine::Rotate(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, -s, s, c, 0, 0};
}

Affine Affine::operator*(const Affine& f) const {
    return {a * f.a + c * f.b, b * f.a + d * f.b, a * f.c + c * f.d, b * f.c + d * f.d,
            a * f.tx + c * f.ty + tx, b * f.tx + d * f.ty + ty};
}

std::optional<Affine> Affine::Inverse() const {
    const double det = a * d - b * c;
    if (!(std::abs(det) > 1e-12)) return std::nullopt;
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return Affine{ia, ib, ic, id, -(ia * tx + ic * ty), -(ib * tx + id * ty)};
}

namespace {

// The four 8-bit channels of a pixel in four 16-bit lanes, so that one
// 64-bit multiply weighs all of them (weights up to 256 keep lanes apart).
inline std::uint64_t Spread(std::uint32_t p) {
    std::uint64_t x = p;
    x = (x | (x << 16)) & 0x0000FFFF0000FFFFull;
    x = (x | (x << 8)) & 0x00FF00FF00FF00FFull;
    return x;
}

inline std::uint32_t Pack(std::uint64_t x) {
    x &= 0x00FF00FF00FF00FFull;
    x = (x | (x >> 8)) & 0x0000FFFF0000FFFFull;
    x = (x | (x >> 16)) & 0x00000000FFFFFFFFull;
    return static_cast<std::uint32_t>(x);
}

constexpr std::uint64_t kLaneMask = 0x00FF00FF00FF00FFull;

// Blends a premultiplied colour c (lanes of spread form, alpha lane unused)
// with coverage a (0..256) onto the destination pixel.
inline void BlendOnto(std::uint32_t& d, std::uint64_t premul, int a, bool dstAlpha) {
    if (a <= 0) return;
    premul &= kLaneMask;
    const std::uint64_t dv = Spread(d);
    const std::uint64_t out = ((premul * 256 + dv * static_cast<std::uint64_t>(256 - a)) >> 8) & kLaneMask;
    std::uint32_t p = Pack(out) & 0x00FFFFFFu;
    if (dstAlpha) {
        const int da = static_cast<int>(d >> 24);
        const int oa = std::min(255, (a * 255 + da * (256 - a)) >> 8);
        p |= static_cast<std::uint32_t>(oa) << 24;
    }
    d = p;
}

struct Axis {
    int i0, i1;  // source indices
    int f;       // weight of i1, 0..256
};

// Bilinear sampling positions of destination pixels [from, to) of a
// dstLen-long run mapped onto the source run [srcStart, srcStart + srcLen),
// clamped to [lo, hi).
std::vector<Axis> AxisTable(int from, int to, int dstStart, int dstLen, int srcStart, int srcLen, int lo, int hi,
                            bool bilinear) {
    std::vector<Axis> t(std::max(0, to - from));
    const double scale = static_cast<double>(srcLen) / dstLen;
    for (int i = from; i < to; ++i) {
        Axis& a = t[i - from];
        if (!bilinear) {
            const int s = srcStart + static_cast<int>(std::floor((i - dstStart + 0.5) * scale));
            a.i0 = a.i1 = std::clamp(s, lo, hi - 1);
            a.f = 0;
            continue;
        }
        double u = srcStart + (i - dstStart + 0.5) * scale - 0.5;
        u = std::clamp(u, static_cast<double>(lo), static_cast<double>(hi - 1));
        const int i0 = static_cast<int>(std::floor(u));
        a.i0 = i0;
        a.i1 = std::min(i0 + 1, hi - 1);
        a.f = static_cast<int>(std::lround((u - i0) * 256.0));
        if (a.f >= 256) {
            a.i0 = a.i1;
            a.f = 0;
        }
    }
    return t;
}


// --- two channels at a time ------------------------------------------------
//
// A pixel splits into its red/blue and green/alpha halves (0x00FF00FF
// masks); one 32-bit multiply weighs two channels.

constexpr std::uint32_t kRB = 0x00FF00FFu;

// a + (b - a) * f / 256 per channel, f in 0..256.
inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t f) {
    const std::uint32_t arb = a & kRB, aag = (a >> 8) & kRB;
    const std::uint32_t brb = b & kRB, bag = (b >> 8) & kRB;
    const std::uint32_t rb = (arb * (256 - f) + brb * f) >> 8;
    const std::uint32_t ag = (aag * (256 - f) + bag * f) & ~kRB;
    return (rb & kRB) | ag;
}

// Every channel times f / 256, f in 0..256.
inline std::uint32_t Scale(std::uint32_t p, std::uint32_t f) {
    return (((p & kRB) * f >> 8) & kRB) | ((((p >> 8) & kRB) * f) & ~kRB);
}

// The colour channels times the pixel's own alpha; alpha stays.
inline std::uint32_t Premultiply(std::uint32_t p) {
    const std::uint32_t a = p >> 24;
    const std::uint32_t f = a + (a >> 7);
    return (((p & kRB) * f >> 8) & kRB) | ((((p >> 8) & 0xFFu) * f) & 0xFF00u) | (p & 0xFF000000u);
}

// Premultiplied source s (alpha in its top byte) over the destination.
inline std::uint32_t Over(std::uint32_t d, std::uint32_t s, bool dstAlpha) {
    const std::uint32_t sa = s >> 24;
    const std::uint32_t inv = 256 - (sa + (sa >> 7));
    const std::uint32_t rb = ((s & kRB) + (((d & kRB) * inv) >> 8)) & kRB;
    const std::uint32_t g = ((s & 0xFF00u) + ((((d >> 8) & 0xFFu) * inv) & 0xFF00u)) & 0xFF00u;
    std::uint32_t a = 0;
    if (dstAlpha) {
        const std::uint32_t da = d >> 24;
        a = std::min<std::uint32_t>(255, sa + ((da * inv) >> 8)) << 24;
    }
    return rb | g | a;
}

}  // namespace

void DrawScaled(TBitmap& dst, const TRect& dstRect, const TBitmap& src, const TRect& srcRect,
                const BlendOptions& options) {
    const int g = std::clamp(options.alpha, 0, 255);
    if (g == 0 || dstRect.IsEmpty() || srcRect.IsEmpty() || src.Empty() || dst.Empty()) return;
    TRect vis = dstRect.Intersect(dst.BoundsRect());
    if (options.clip) vis = vis.Intersect(*options.clip);
    const TRect srcVis = srcRect.Intersect(src.BoundsRect());
    if (vis.IsEmpty() || srcVis.IsEmpty()) return;
    const bool useSrcAlpha = options.sourceAlpha.value_or(src.HasAlpha());
    const bool dstAlpha = dst.HasAlpha();
    const std::uint32_t gw = static_cast<std::uint32_t>(g + (g >> 7));  // 0..256

    const auto xs = AxisTable(vis.Left, vis.Right, dstRect.Left, dstRect.Width(), srcRect.Left, srcRect.Width(),
                              srcVis.Left, srcVis.Right, options.bilinear);
    const auto ys = AxisTable(vis.Top, vis.Bottom, dstRect.Top, dstRect.Height(), srcRect.Top, srcRect.Height(),
                              srcVis.Top, srcVis.Bottom, options.bilinear);
    const int n = vis.Width();
    // The source columns the row needs, vertically interpolated (and
    // premultiplied) once per row.
    const int colLo = srcVis.Left, colHi = srcVis.Right;
    int usedLo = colHi, usedHi = colLo;
    for (const Axis& a : xs) {
        usedLo = std::min(usedLo, a.i0);
        usedHi = std::max(usedHi, a.i1 + 1);
    }
    std::vector<std::uint32_t> column(static_cast<std::size_t>(colHi - colLo));
    std::uint32_t* const tmp = column.data() - colLo;
    // Per-destination-column taps as flat arrays for the inner loop.
    std::vector<std::uint32_t> x0(n), x1(n), fx(n);
    for (int i = 0; i < n; ++i) {
        x0[i] = static_cast<std::uint32_t>(xs[i].i0);
        x1[i] = static_cast<std::uint32_t>(xs[i].i1);
        fx[i] = static_cast<std::uint32_t>(xs[i].f);
    }

    for (int y = vis.Top; y < vis.Bottom; ++y) {
        const Axis& ya = ys[y - vis.Top];
        const std::uint32_t* r0 = src.ScanLine(ya.i0);
        const std::uint32_t* r1 = src.ScanLine(ya.i1);
        const std::uint32_t fy = static_cast<std::uint32_t>(ya.f);
        if (useSrcAlpha) {
            for (int x = usedLo; x < usedHi; ++x) tmp[x] = Lerp(Premultiply(r0[x]), Premultiply(r1[x]), fy);
        } else if (fy == 0) {
            std::copy(r0 + usedLo, r0 + usedHi, tmp + usedLo);
        } else {
            for (int x = usedLo; x < usedHi; ++x) tmp[x] = Lerp(r0[x], r1[x], fy);
        }
        std::uint32_t* drow = dst.ScanLine(y) + vis.Left;
        if (!useSrcAlpha && gw == 256 && !dstAlpha) {
            for (int i = 0; i < n; ++i) drow[i] = Lerp(tmp[x0[i]], tmp[x1[i]], fx[i]) & 0x00FFFFFFu;
        } else if (!useSrcAlpha) {
            const std::uint32_t opaque = gw == 256 ? 0xFF000000u : ((gw * 255) >> 8) << 24;
            for (int i = 0; i < n; ++i) {
                const std::uint32_t s = Lerp(tmp[x0[i]], tmp[x1[i]], fx[i]);
                drow[i] = Over(drow[i], (Scale(s, gw) & 0x00FFFFFFu) | opaque, dstAlpha);
            }
        } else {
            for (int i = 0; i < n; ++i) {
                const std::uint32_t s = Lerp(tmp[x0[i]], tmp[x1[i]], fx[i]);
                if ((s >> 24) == 0) continue;
                drow[i] = Over(drow[i], gw == 256 ? s : Scale(s, gw), dstAlpha);
            }
        }
    }
}

void DrawTransformed(TBitmap& dst, const TBitmap& src, const Affine& srcToDst, const BlendOptions& options) {
    const int g = std::clamp(options.alpha, 0, 255);
    if (g == 0 || src.Empty() || dst.Empty()) return;
    const auto inv = srcToDst.Inverse();
    if (!inv) return;
    const bool useSrcAlpha = options.sourceAlpha.value_or(src.HasAlpha());
    const bool dstAlpha = dst.HasAlpha();
    const std::uint32_t gw = static_cast<std::uint32_t>(g + (g >> 7));
    const int sw = src.Width(), sh = src.Height();

    // Destination bounds of the transformed picture.
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    for (const auto& [cx, cy] : {std::pair{0.0, 0.0}, {double(sw), 0.0}, {0.0, double(sh)}, {double(sw), double(sh)}}) {
        double ox, oy;
        srcToDst.Apply(cx, cy, ox, oy);
        minX = std::min(minX, ox);
        minY = std::min(minY, oy);
        maxX = std::max(maxX, ox);
        maxY = std::max(maxY, oy);
    }
    TRect vis = dst.BoundsRect();
    if (options.clip) vis = vis.Intersect(*options.clip);
    const double lim = 1 << 28;
    const TRect box{static_cast<int>(std::floor(std::clamp(minX, -lim, lim))) - 1,
                    static_cast<int>(std::floor(std::clamp(minY, -lim, lim))) - 1,
                    static_cast<int>(std::ceil(std::clamp(maxX, -lim, lim))) + 1,
                    static_cast<int>(std::ceil(std::clamp(maxY, -lim, lim))) + 1};
    vis = vis.Intersect(box);
    if (vis.IsEmpty()) return;

    // Source pixel with its alpha (premultiplied), transparent outside.
    auto tap = [&](int x, int y) -> std::uint32_t {
        if (x < 0 || y < 0 || x >= sw || y >= sh) return 0;
        const std::uint32_t p = src.ScanLine(y)[x];
        return useSrcAlpha ? Premultiply(p) : (p | 0xFF000000u);
    };
    auto fetch = [&](const std::uint32_t* row, int x) -> std::uint32_t {
        const std::uint32_t p = row[x];
        return useSrcAlpha ? Premultiply(p) : (p | 0xFF000000u);
    };

    // Fixed point 16.16 source coordinates, stepped per pixel.
    constexpr double kOne = 65536.0;
    const auto du = static_cast<std::int64_t>(std::llround(inv->a * kOne));
    const auto dv = static_cast<std::int64_t>(std::llround(inv->b * kOne));
    const bool bilinear = options.bilinear;
    for (int y = vis.Top; y < vis.Bottom; ++y) {
        std::uint32_t* drow = dst.ScanLine(y);
        double u0, v0;
        inv->Apply(vis.Left + 0.5, y + 0.5, u0, v0);
        std::int64_t u = std::llround((u0 - 0.5) * kOne), v = std::llround((v0 - 0.5) * kOne);
        for (int x = vis.Left; x < vis.Right; ++x, u += du, v += dv) {
            if (u <= -65536 || v <= -65536 || u >= static_cast<std::int64_t>(sw) << 16 ||
                v >= static_cast<std::int64_t>(sh) << 16)
                continue;
            std::uint32_t s;
            if (!bilinear) {
                const int sx = static_cast<int>((u + 32768) >> 16), sy = static_cast<int>((v + 32768) >> 16);
                s = tap(sx, sy);
            } else {
                const int ix = static_cast<int>(u >> 16), iy = static_cast<int>(v >> 16);
                const std::uint32_t fx = static_cast<std::uint32_t>((u >> 8) & 0xFF);
                const std::uint32_t fy = static_cast<std::uint32_t>((v >> 8) & 0xFF);
                std::uint32_t p00, p01, p10, p11;
                if (ix >= 0 && iy >= 0 && ix + 1 < sw && iy + 1 < sh) {
                    const std::uint32_t* r0 = src.ScanLine(iy);
                    const std::uint32_t* r1 = r0 + sw;
                    p00 = fetch(r0, ix);
                    p01 = fetch(r0, ix + 1);
                    p10 = fetch(r1, ix);
                    p11 = fetch(r1, ix + 1);
                } else {
                    p00 = tap(ix, iy);
                    p01 = tap(ix + 1, iy);
                    p10 = tap(ix, iy + 1);
                    p11 = tap(ix + 1, iy + 1);
                }
                s = Lerp(Lerp(p00, p01, fx), Lerp(p10, p11, fx), fy);
            }
            if ((s >> 24) == 0) continue;
            drow[x] = Over(drow[x], gw == 256 ? s : Scale(s, gw), dstAlpha);
        }
    }
}

}  // namespace gfx
