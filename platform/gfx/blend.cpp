#include "platform/gfx/blend.h"

#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gfx {

Affine Affine::Rotate(double radians)
{
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, -s, s, c, 0, 0};
}

Affine Affine::operator*(const Affine& f) const
{
    return {a * f.a + c * f.b, b * f.a + d * f.b,        a * f.c + c * f.d,
            b * f.c + d * f.d, a * f.tx + c * f.ty + tx, b * f.tx + d * f.ty + ty};
}

std::optional<Affine> Affine::Inverse() const
{
    const double det = a * d - b * c;
    if (!(std::abs(det) > 1e-12)) return std::nullopt;
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return Affine{ia, ib, ic, id, -(ia * tx + ic * ty), -(ib * tx + id * ty)};
}

namespace {

struct Axis {
    int i0, i1;  // source indices
    int f;       // weight of i1, 0..256
};

// Bilinear sampling positions of destination pixels [from, to) of a
// dstLen-long run mapped onto the source run [srcStart, srcStart + srcLen),
// clamped to [lo, hi).
std::vector<Axis> AxisTable(int from, int to, int dstStart, int dstLen, int srcStart, int srcLen, int lo,
                            int hi, bool bilinear)
{
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
inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t f)
{
    const std::uint32_t arb = a & kRB, aag = (a >> 8) & kRB;
    const std::uint32_t brb = b & kRB, bag = (b >> 8) & kRB;
    const std::uint32_t rb = (arb * (256 - f) + brb * f) >> 8;
    const std::uint32_t ag = (aag * (256 - f) + bag * f) & ~kRB;
    return (rb & kRB) | ag;
}

// Every channel times f / 256, f in 0..256.
inline std::uint32_t Scale(std::uint32_t p, std::uint32_t f)
{
    return (((p & kRB) * f >> 8) & kRB) | ((((p >> 8) & kRB) * f) & ~kRB);
}

// The colour channels times the pixel's own alpha; alpha stays.
inline std::uint32_t Premultiply(std::uint32_t p)
{
    const std::uint32_t a = p >> 24;
    const std::uint32_t f = a + (a >> 7);
    return (((p & kRB) * f >> 8) & kRB) | ((((p >> 8) & 0xFFu) * f) & 0xFF00u) | (p & 0xFF000000u);
}

// Premultiplied source s (alpha in its top byte) over the destination.
inline std::uint32_t Over(std::uint32_t d, std::uint32_t s, bool dstAlpha)
{
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

#if defined(__SSE2__)
// SSE2 versions of the row loops: four pixels at a time in 16-bit lanes.
// They compute exactly what the scalar helpers compute.

inline __m128i Lo16(__m128i v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
inline __m128i Hi16(__m128i v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }

// (a * (256 - w) + b * w) >> 8 per 16-bit lane.
inline __m128i Lerp16(__m128i a, __m128i b, __m128i w)
{
    const __m128i iw = _mm_sub_epi16(_mm_set1_epi16(256), w);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, iw), _mm_mullo_epi16(b, w)), 8);
}

// Each pixel's alpha lane (scaled to 0..256) in all four of its lanes.
inline __m128i AlphaLanes(__m128i v16)
{
    __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v16, 0xFF), 0xFF);
    return _mm_add_epi16(a, _mm_srli_epi16(a, 7));
}

inline __m128i Premultiply16(__m128i v16)
{
    const __m128i alphaMask = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i scaled = _mm_srli_epi16(_mm_mullo_epi16(v16, AlphaLanes(v16)), 8);
    return _mm_or_si128(_mm_andnot_si128(alphaMask, scaled), _mm_and_si128(alphaMask, v16));
}

// Vertical pass: out[x] = Lerp(r0[x], r1[x], fy), premultiplied first when asked.
void LerpRowsSse(const std::uint32_t* r0, const std::uint32_t* r1, std::uint32_t* out, int n,
                 std::uint32_t fy, bool premultiply)
{
    const __m128i w = _mm_set1_epi16(static_cast<short>(fy));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + i));
        __m128i alo = Lo16(a), ahi = Hi16(a), blo = Lo16(b), bhi = Hi16(b);
        if (premultiply) {
            alo = Premultiply16(alo);
            ahi = Premultiply16(ahi);
            blo = Premultiply16(blo);
            bhi = Premultiply16(bhi);
        }
        const __m128i r = _mm_packus_epi16(Lerp16(alo, blo, w), Lerp16(ahi, bhi, w));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), r);
    }
    for (; i < n; ++i)
        out[i] = premultiply ? Lerp(Premultiply(r0[i]), Premultiply(r1[i]), fy) : Lerp(r0[i], r1[i], fy);
}

// Horizontal pass and blend. weights[i] holds fx[i] in four 16-bit lanes.
// mode 0: store opaque; 1: opaque source scaled by g over dst; 2: premultiplied source scaled by g over dst.
void HorizontalSse(const std::uint32_t* tmp, const std::uint32_t* x0, const std::uint32_t* x1,
                   const std::uint64_t* weights, std::uint32_t* drow, int n, std::uint32_t gw, int mode,
                   bool dstAlpha)
{
    const __m128i g = _mm_set1_epi16(static_cast<short>(gw));
    const __m128i c256 = _mm_set1_epi16(256);
    const __m128i opaqueAlpha = _mm_set_epi16(static_cast<short>(gw == 256 ? 255 : (gw * 255) >> 8), 0, 0, 0,
                                              static_cast<short>(gw == 256 ? 255 : (gw * 255) >> 8), 0, 0, 0);
    const __m128i alphaMask = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i rgbMask = _mm_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i a = _mm_set_epi32(static_cast<int>(tmp[x0[i + 3]]), static_cast<int>(tmp[x0[i + 2]]),
                                        static_cast<int>(tmp[x0[i + 1]]), static_cast<int>(tmp[x0[i]]));
        const __m128i b = _mm_set_epi32(static_cast<int>(tmp[x1[i + 3]]), static_cast<int>(tmp[x1[i + 2]]),
                                        static_cast<int>(tmp[x1[i + 1]]), static_cast<int>(tmp[x1[i]]));
        const __m128i wlo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + i));
        const __m128i whi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + i + 2));
        __m128i slo = Lerp16(Lo16(a), Lo16(b), wlo);
        __m128i shi = Lerp16(Hi16(a), Hi16(b), whi);
        if (mode == 0) {
            const __m128i s = _mm_and_si128(_mm_packus_epi16(slo, shi), rgbMask);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(drow + i), s);
            continue;
        }
        if (mode == 1) {
            slo = _mm_or_si128(_mm_andnot_si128(alphaMask, _mm_srli_epi16(_mm_mullo_epi16(slo, g), 8)),
                               opaqueAlpha);
            shi = _mm_or_si128(_mm_andnot_si128(alphaMask, _mm_srli_epi16(_mm_mullo_epi16(shi, g), 8)),
                               opaqueAlpha);
        } else if (gw != 256) {
            slo = _mm_srli_epi16(_mm_mullo_epi16(slo, g), 8);
            shi = _mm_srli_epi16(_mm_mullo_epi16(shi, g), 8);
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(drow + i));
        const __m128i dlo = Lo16(d), dhi = Hi16(d);
        // Over: s + d * (256 - sa) >> 8; the alpha lane becomes min(255, sa + da * (256 - sa) >> 8).
        const __m128i ilo = _mm_sub_epi16(c256, AlphaLanes(slo));
        const __m128i ihi = _mm_sub_epi16(c256, AlphaLanes(shi));
        __m128i olo = _mm_add_epi16(slo, _mm_srli_epi16(_mm_mullo_epi16(dlo, ilo), 8));
        __m128i ohi = _mm_add_epi16(shi, _mm_srli_epi16(_mm_mullo_epi16(dhi, ihi), 8));
        __m128i o = _mm_packus_epi16(olo, ohi);
        if (!dstAlpha) o = _mm_and_si128(o, rgbMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(drow + i), o);
    }
    for (; i < n; ++i) {
        const std::uint32_t s = Lerp(tmp[x0[i]], tmp[x1[i]], static_cast<std::uint32_t>(weights[i] & 0xFFFF));
        if (mode == 0)
            drow[i] = s & 0x00FFFFFFu;
        else if (mode == 1) {
            const std::uint32_t opaque = gw == 256 ? 0xFF000000u : ((gw * 255) >> 8) << 24;
            drow[i] = Over(drow[i], (Scale(s, gw) & 0x00FFFFFFu) | opaque, dstAlpha);
        } else {
            if ((s >> 24) == 0) continue;
            drow[i] = Over(drow[i], gw == 256 ? s : Scale(s, gw), dstAlpha);
        }
    }
}

// One bilinear sample from four taps (premultiplied here when asked), as Lerp(Lerp(p00,
// p01, fx), Lerp(p10, p11, fx), fy) computes it.
inline std::uint32_t BilinearSse(std::uint32_t p00, std::uint32_t p01, std::uint32_t p10, std::uint32_t p11,
                                 std::uint32_t fx, std::uint32_t fy, bool premultiply)
{
    __m128i top = Lo16(_mm_set_epi32(0, 0, static_cast<int>(p01), static_cast<int>(p00)));
    __m128i bottom = Lo16(_mm_set_epi32(0, 0, static_cast<int>(p11), static_cast<int>(p10)));
    if (premultiply) {
        top = Premultiply16(top);
        bottom = Premultiply16(bottom);
    }
    // Horizontal first: the left tap in the low half, the right in the high half.
    const __m128i left = _mm_unpacklo_epi64(top, bottom);
    const __m128i right = _mm_unpackhi_epi64(top, bottom);
    const __m128i h = Lerp16(left, right, _mm_set1_epi16(static_cast<short>(fx)));
    const __m128i v = Lerp16(h, _mm_unpackhi_epi64(h, h), _mm_set1_epi16(static_cast<short>(fy)));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
}
#endif

}  // namespace

void DrawScaled(TBitmap& dst, const TRect& dstRect, const TBitmap& src, const TRect& srcRect,
                const BlendOptions& options)
{
    const int g = std::clamp(options.alpha, 0, 255);
    if (g == 0 || dstRect.IsEmpty() || srcRect.IsEmpty() || src.Empty() || dst.Empty()) return;
    TRect vis = dstRect.Intersect(dst.BoundsRect());
    if (options.clip) vis = vis.Intersect(*options.clip);
    const TRect srcVis = srcRect.Intersect(src.BoundsRect());
    if (vis.IsEmpty() || srcVis.IsEmpty()) return;
    const bool useSrcAlpha = options.sourceAlpha.value_or(src.HasAlpha());
    const bool dstAlpha = dst.HasAlpha();
    const std::uint32_t gw = static_cast<std::uint32_t>(g + (g >> 7));  // 0..256

    const auto xs = AxisTable(vis.Left, vis.Right, dstRect.Left, dstRect.Width(), srcRect.Left,
                              srcRect.Width(), srcVis.Left, srcVis.Right, options.bilinear);
    const auto ys = AxisTable(vis.Top, vis.Bottom, dstRect.Top, dstRect.Height(), srcRect.Top,
                              srcRect.Height(), srcVis.Top, srcVis.Bottom, options.bilinear);
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
    std::vector<std::uint64_t> weights(n);
    for (int i = 0; i < n; ++i) {
        weights[i] = static_cast<std::uint64_t>(xs[i].f) * 0x0001000100010001ull;
        x0[i] = static_cast<std::uint32_t>(xs[i].i0);
        x1[i] = static_cast<std::uint32_t>(xs[i].i1);
        fx[i] = static_cast<std::uint32_t>(xs[i].f);
    }

    for (int y = vis.Top; y < vis.Bottom; ++y) {
        const Axis& ya = ys[y - vis.Top];
        const std::uint32_t* r0 = src.ScanLine(ya.i0);
        const std::uint32_t* r1 = src.ScanLine(ya.i1);
        const std::uint32_t fy = static_cast<std::uint32_t>(ya.f);
#if defined(__SSE2__)
        if (useSrcAlpha || fy != 0) {
            LerpRowsSse(r0 + usedLo, r1 + usedLo, tmp + usedLo, usedHi - usedLo, fy, useSrcAlpha);
        } else {
            std::copy(r0 + usedLo, r0 + usedHi, tmp + usedLo);
        }
        std::uint32_t* drow = dst.ScanLine(y) + vis.Left;
        const int mode = useSrcAlpha ? 2 : (gw == 256 && !dstAlpha) ? 0 : 1;
        HorizontalSse(tmp, x0.data(), x1.data(), weights.data(), drow, n, gw, mode, dstAlpha);
#else
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
#endif
    }
}

void DrawTransformed(TBitmap& dst, const TBitmap& src, const Affine& srcToDst, const BlendOptions& options)
{
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
    for (const auto& [cx, cy] :
         {std::pair{0.0, 0.0}, {double(sw), 0.0}, {0.0, double(sh)}, {double(sw), double(sh)}}) {
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
#if !defined(__SSE2__)
    auto fetch = [&](const std::uint32_t* row, int x) -> std::uint32_t {
        const std::uint32_t p = row[x];
        return useSrcAlpha ? Premultiply(p) : (p | 0xFF000000u);
    };
#endif

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
                if (ix >= 0 && iy >= 0 && ix + 1 < sw && iy + 1 < sh) {
                    const std::uint32_t* r0 = src.ScanLine(iy);
                    const std::uint32_t* r1 = r0 + sw;
#if defined(__SSE2__)
                    const std::uint32_t opaque = useSrcAlpha ? 0u : 0xFF000000u;
                    s = BilinearSse(r0[ix] | opaque, r0[ix + 1] | opaque, r1[ix] | opaque,
                                    r1[ix + 1] | opaque, fx, fy, useSrcAlpha);
#else
                    s = Lerp(Lerp(fetch(r0, ix), fetch(r0, ix + 1), fx),
                             Lerp(fetch(r1, ix), fetch(r1, ix + 1), fx), fy);
#endif
                } else {
                    s = Lerp(Lerp(tap(ix, iy), tap(ix + 1, iy), fx),
                             Lerp(tap(ix, iy + 1), tap(ix + 1, iy + 1), fx), fy);
                }
            }
            if ((s >> 24) == 0) continue;
            drow[x] = Over(drow[x], gw == 256 ? s : Scale(s, gw), dstAlpha);
        }
    }
}

}  // namespace gfx
