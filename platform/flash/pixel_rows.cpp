#include "platform/flash/pixel_rows.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELMORA_PIXEL_ROWS_X86 1
#endif

namespace flash {

namespace {

inline std::uint32_t Scale(std::uint32_t p, std::uint32_t w)
{
    std::uint32_t rb = (((p & 0x00FF00FFu) * w) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = (((p >> 8) & 0x00FF00FFu) * w) & 0xFF00FF00u;
    return rb | ag;
}

inline std::uint32_t Over(std::uint32_t dst, std::uint32_t src)
{
    std::uint32_t a = src >> 24;
    return src + Scale(dst, 256 - (a + (a >> 7)));
}

inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t t)
{
    std::uint32_t rb = (((a & 0x00FF00FFu) * (256 - t) + (b & 0x00FF00FFu) * t) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = (((a >> 8) & 0x00FF00FFu) * (256 - t) + ((b >> 8) & 0x00FF00FFu) * t) & 0xFF00FF00u;
    return rb | ag;
}

void OverPlain(std::uint32_t* dst, const std::uint32_t* src, int count)
{
    for (int i = 0; i < count; ++i) dst[i] = Over(dst[i], src[i]);
}

void OverWeightedPlain(std::uint32_t* dst, const std::uint32_t* src, int count, std::uint32_t weight)
{
    for (int i = 0; i < count; ++i) dst[i] = Over(dst[i], Scale(src[i], weight));
}

void OverSolidPlain(std::uint32_t* dst, std::uint32_t colour, int count)
{
    for (int i = 0; i < count; ++i) dst[i] = Over(dst[i], colour);
}

void LerpPlain(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b, int count, std::uint32_t t)
{
    for (int i = 0; i < count; ++i) out[i] = Lerp(a[i], b[i], t);
}

void SampleAcrossPlain(std::uint32_t* out, int count, const std::uint32_t* row, int first, int last,
                       std::int64_t fu, std::int64_t step, std::int32_t max_u)
{
    const std::uint32_t* column = row - first;
    for (int x = 0; x < count; ++x, fu += step) {
        std::int32_t cu = static_cast<std::int32_t>(std::clamp<std::int64_t>(fu, 0, max_u));
        int ix = cu >> 16;
        int right = ix + 1 <= last ? ix + 1 : ix;
        out[x] = Lerp(column[ix], column[right], (cu >> 8) & 0xFF);
    }
}

void SampleAlongPlain(std::uint32_t* out, int count, const std::uint32_t* pixels, int width, int height,
                      std::int64_t fu, std::int64_t fv, std::int64_t step_u, std::int64_t step_v)
{
    const std::int32_t max_u = (width - 1) << 16, max_v = (height - 1) << 16;
    for (int x = 0; x < count; ++x, fu += step_u, fv += step_v) {
        std::int32_t cu = static_cast<std::int32_t>(std::clamp<std::int64_t>(fu, 0, max_u));
        std::int32_t cv = static_cast<std::int32_t>(std::clamp<std::int64_t>(fv, 0, max_v));
        int ix = cu >> 16, iy = cv >> 16;
        std::uint32_t tx = (cu >> 8) & 0xFF, ty = (cv >> 8) & 0xFF;
        const std::uint32_t* r0 = pixels + static_cast<std::size_t>(iy) * width + ix;
        int right = ix + 1 < width ? 1 : 0;
        int down = iy + 1 < height ? width : 0;
        out[x] = Lerp(Lerp(r0[0], r0[right], tx), Lerp(r0[down], r0[down + right], tx), ty);
    }
}

// Clamps, taking NaN to lo.
inline float ClampFloat(float v, float lo, float hi) { return v > lo ? (v < hi ? v : hi) : lo; }

void RadialPlain(std::uint32_t* out, const float* us, int count, float inv_w, float dy2,
                 const std::uint32_t* ramp, float last)
{
    for (int i = 0; i < count; ++i) {
        float dx = us[i] * inv_w * 2 - 1;
        float d2 = ClampFloat(dx * dx + dy2, 0.0f, 1.0f);
        out[i] = ramp[static_cast<int>(d2 * last + 0.5f)];
    }
}

// The power of two of x's lowest set bit (x finite, not zero).
int LowBit(float x)
{
    int exponent;
    const float fraction = std::frexp(x, &exponent);  // x = fraction * 2^exponent
    const auto mantissa = static_cast<std::uint32_t>(std::abs(std::ldexp(fraction, 24)));
    return exponent - 24 + __builtin_ctz(mantissa);
}

// How many of u + j * step, j = 0, 1, ..., count - 1, are sums a float holds
// exactly, together with j * step: all of them are whole multiples of the
// lowest bit of u and step, so they are exact while below 2^24 of that.
int ExactRun(float u, float step, int count)
{
    if (step == 0) return count;
    if (!std::isfinite(u) || !std::isfinite(step)) return 1;
    const int low = u == 0 ? LowBit(step) : std::min(LowBit(u), LowBit(step));
    const double limit = std::ldexp(1.0, 24 + low);
    const double a = std::abs(static_cast<double>(u)), s = std::abs(static_cast<double>(step));
    if (a > limit) return 1;
    const bool away = (u >= 0) == (step >= 0);
    const double reach = std::min(limit / s, (away ? limit - a : limit + a) / s);
    // A step short of the bound, for the rounding of the division.
    const double last = std::floor(reach) - 1;
    return static_cast<int>(std::clamp(last, 0.0, static_cast<double>(count - 1))) + 1;
}

// Whether the eight-wide loops may step in 32-bit lanes: every position
// from start on stays far inside the range.
bool FitsLanes(std::int64_t start, std::int64_t step, int count)
{
    constexpr std::int64_t kLimit = std::int64_t{1} << 30;
    const std::int64_t end = start + step * count;
    return std::llabs(start) < kLimit && std::llabs(end) < kLimit && std::llabs(step) < (kLimit >> 4);
}

#ifdef VELMORA_PIXEL_ROWS_X86

// Each channel of four pixels widened to 16 bits takes (c * w) >> 8, which
// is exact: c * w <= 255 * 256 fits.

// The "over" weights of four pixels, one 16-bit weight per channel, for the
// low and the high two pixels.
inline void OverWeights(__m128i src, __m128i& lo, __m128i& hi)
{
    __m128i a = _mm_srli_epi32(src, 24);
    __m128i w = _mm_sub_epi32(_mm_set1_epi32(256), _mm_add_epi32(a, _mm_srli_epi32(a, 7)));
    __m128i w16 = _mm_packs_epi32(w, w);           // w0 w1 w2 w3 w0 w1 w2 w3
    __m128i pairs = _mm_unpacklo_epi16(w16, w16);  // w0 w0 w1 w1 w2 w2 w3 w3
    lo = _mm_unpacklo_epi32(pairs, pairs);
    hi = _mm_unpackhi_epi32(pairs, pairs);
}

inline __m128i ScaleBy(__m128i p, __m128i wlo, __m128i whi)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), wlo), 8);
    __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), whi), 8);
    return _mm_packus_epi16(lo, hi);
}

// Premultiplied channels never carry: c <= a and the scaled rest is below
// 256 - a, so a byte-wise add matches the 32-bit one.
inline __m128i Over4(__m128i dst, __m128i src)
{
    __m128i wlo, whi;
    OverWeights(src, wlo, whi);
    return _mm_add_epi8(src, ScaleBy(dst, wlo, whi));
}

void OverSse2(std::uint32_t* dst, const std::uint32_t* src, int count)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Over4(d, s));
    }
    OverPlain(dst + i, src + i, count - i);
}

void OverWeightedSse2(std::uint32_t* dst, const std::uint32_t* src, int count, std::uint32_t weight)
{
    const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i s = ScaleBy(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), w, w);
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Over4(d, s));
    }
    OverWeightedPlain(dst + i, src + i, count - i, weight);
}

void OverSolidSse2(std::uint32_t* dst, std::uint32_t colour, int count)
{
    const std::uint32_t a = colour >> 24;
    const __m128i w = _mm_set1_epi16(static_cast<short>(256 - (a + (a >> 7))));
    const __m128i src = _mm_set1_epi32(static_cast<int>(colour));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_add_epi8(src, ScaleBy(d, w, w)));
    }
    OverSolidPlain(dst + i, colour, count - i);
}

void LerpSse2(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b, int count, std::uint32_t t)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i wa = _mm_set1_epi16(static_cast<short>(256 - t)),
                  wb = _mm_set1_epi16(static_cast<short>(t));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        // a * (256 - t) + b * t <= 255 * 256: no 16-bit overflow.
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(pa, zero), wa),
                                   _mm_mullo_epi16(_mm_unpacklo_epi8(pb, zero), wb));
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(pa, zero), wa),
                                   _mm_mullo_epi16(_mm_unpackhi_epi8(pb, zero), wb));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8)));
    }
    LerpPlain(out + i, a + i, b + i, count - i, t);
}

// The same as the SSE2 loops, eight pixels at a time; unpacking works within
// each 128-bit half, the same on pixels and weights.
#define VELMORA_AVX2 __attribute__((target("avx2")))

VELMORA_AVX2 inline __m256i ScaleBy8(__m256i p, __m256i wlo, __m256i whi)
{
    const __m256i zero = _mm256_setzero_si256();
    __m256i lo = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(p, zero), wlo), 8);
    __m256i hi = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(p, zero), whi), 8);
    return _mm256_packus_epi16(lo, hi);
}

VELMORA_AVX2 inline __m256i Over8(__m256i dst, __m256i src)
{
    __m256i a = _mm256_srli_epi32(src, 24);
    __m256i w = _mm256_sub_epi32(_mm256_set1_epi32(256), _mm256_add_epi32(a, _mm256_srli_epi32(a, 7)));
    __m256i w16 = _mm256_packs_epi32(w, w);
    __m256i pairs = _mm256_unpacklo_epi16(w16, w16);
    return _mm256_add_epi8(
        src, ScaleBy8(dst, _mm256_unpacklo_epi32(pairs, pairs), _mm256_unpackhi_epi32(pairs, pairs)));
}

VELMORA_AVX2 void OverAvx2(std::uint32_t* dst, const std::uint32_t* src, int count)
{
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), Over8(d, s));
    }
    OverSse2(dst + i, src + i, count - i);
}

VELMORA_AVX2 void OverWeightedAvx2(std::uint32_t* dst, const std::uint32_t* src, int count,
                                   std::uint32_t weight)
{
    const __m256i w = _mm256_set1_epi16(static_cast<short>(weight));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i s = ScaleBy8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)), w, w);
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), Over8(d, s));
    }
    OverWeightedSse2(dst + i, src + i, count - i, weight);
}

VELMORA_AVX2 void OverSolidAvx2(std::uint32_t* dst, std::uint32_t colour, int count)
{
    const std::uint32_t a = colour >> 24;
    const __m256i w = _mm256_set1_epi16(static_cast<short>(256 - (a + (a >> 7))));
    const __m256i src = _mm256_set1_epi32(static_cast<int>(colour));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_add_epi8(src, ScaleBy8(d, w, w)));
    }
    OverSolidSse2(dst + i, colour, count - i);
}

VELMORA_AVX2 void LerpAvx2(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b, int count,
                           std::uint32_t t)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i wa = _mm256_set1_epi16(static_cast<short>(256 - t)),
                  wb = _mm256_set1_epi16(static_cast<short>(t));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i pa = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        __m256i pb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        __m256i lo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(pa, zero), wa),
                                      _mm256_mullo_epi16(_mm256_unpacklo_epi8(pb, zero), wb));
        __m256i hi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(pa, zero), wa),
                                      _mm256_mullo_epi16(_mm256_unpackhi_epi8(pb, zero), wb));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8)));
    }
    LerpSse2(out + i, a + i, b + i, count - i, t);
}

// Per-pixel weights t (0..255, one a 32-bit lane) as 16-bit weights for
// the channels of the low and the high pixels of each half.
VELMORA_AVX2 inline void Weights8(__m256i t, __m256i& lo, __m256i& hi)
{
    __m256i t16 = _mm256_packs_epi32(t, t);
    __m256i pairs = _mm256_unpacklo_epi16(t16, t16);
    lo = _mm256_unpacklo_epi32(pairs, pairs);
    hi = _mm256_unpackhi_epi32(pairs, pairs);
}

VELMORA_AVX2 inline __m256i LerpBy8(__m256i a, __m256i b, __m256i t)
{
    const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi16(256);
    __m256i tlo, thi;
    Weights8(t, tlo, thi);
    __m256i lo =
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(a, zero), _mm256_sub_epi16(full, tlo)),
                         _mm256_mullo_epi16(_mm256_unpacklo_epi8(b, zero), tlo));
    __m256i hi =
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(a, zero), _mm256_sub_epi16(full, thi)),
                         _mm256_mullo_epi16(_mm256_unpackhi_epi8(b, zero), thi));
    return _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8));
}

VELMORA_AVX2 inline __m256i Gather8(const std::uint32_t* base, __m256i index)
{
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(base), index, 4);
}

VELMORA_AVX2 void SampleAcrossAvx2(std::uint32_t* out, int count, const std::uint32_t* row, int first,
                                   int last, std::int64_t fu, std::int64_t step, std::int32_t max_u)
{
    int x = 0;
    if (FitsLanes(fu, step, count)) {
        const __m256i iota = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const __m256i zero = _mm256_setzero_si256(), top = _mm256_set1_epi32(max_u);
        const __m256i lastv = _mm256_set1_epi32(last), firstv = _mm256_set1_epi32(first);
        const __m256i low = _mm256_set1_epi32(0xFF);
        __m256i u = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(fu)),
                                     _mm256_mullo_epi32(iota, _mm256_set1_epi32(static_cast<int>(step))));
        const __m256i step8 = _mm256_set1_epi32(static_cast<int>(step * 8));
        for (; x + 8 <= count; x += 8, u = _mm256_add_epi32(u, step8)) {
            __m256i cu = _mm256_min_epi32(_mm256_max_epi32(u, zero), top);
            __m256i ix = _mm256_srli_epi32(cu, 16);
            // ix + 1 while that is at most last
            __m256i right = _mm256_sub_epi32(ix, _mm256_cmpgt_epi32(lastv, ix));
            __m256i a = Gather8(row, _mm256_sub_epi32(ix, firstv));
            __m256i b = Gather8(row, _mm256_sub_epi32(right, firstv));
            __m256i t = _mm256_and_si256(_mm256_srli_epi32(cu, 8), low);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), LerpBy8(a, b, t));
        }
    }
    SampleAcrossPlain(out + x, count - x, row, first, last, fu + step * x, step, max_u);
}

VELMORA_AVX2 void SampleAlongAvx2(std::uint32_t* out, int count, const std::uint32_t* pixels, int width,
                                  int height, std::int64_t fu, std::int64_t fv, std::int64_t step_u,
                                  std::int64_t step_v)
{
    int x = 0;
    if (FitsLanes(fu, step_u, count) && FitsLanes(fv, step_v, count)) {
        const __m256i iota = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const __m256i zero = _mm256_setzero_si256(), one = _mm256_set1_epi32(1),
                      low = _mm256_set1_epi32(0xFF);
        const __m256i max_u = _mm256_set1_epi32((width - 1) << 16),
                      max_v = _mm256_set1_epi32((height - 1) << 16);
        const __m256i w = _mm256_set1_epi32(width), h = _mm256_set1_epi32(height);
        __m256i u = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(fu)),
                                     _mm256_mullo_epi32(iota, _mm256_set1_epi32(static_cast<int>(step_u))));
        __m256i v = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(fv)),
                                     _mm256_mullo_epi32(iota, _mm256_set1_epi32(static_cast<int>(step_v))));
        const __m256i step_u8 = _mm256_set1_epi32(static_cast<int>(step_u * 8));
        const __m256i step_v8 = _mm256_set1_epi32(static_cast<int>(step_v * 8));
        for (; x + 8 <= count; x += 8, u = _mm256_add_epi32(u, step_u8), v = _mm256_add_epi32(v, step_v8)) {
            __m256i cu = _mm256_min_epi32(_mm256_max_epi32(u, zero), max_u);
            __m256i cv = _mm256_min_epi32(_mm256_max_epi32(v, zero), max_v);
            __m256i ix = _mm256_srli_epi32(cu, 16), iy = _mm256_srli_epi32(cv, 16);
            __m256i right = _mm256_and_si256(_mm256_cmpgt_epi32(w, _mm256_add_epi32(ix, one)), one);
            __m256i down = _mm256_and_si256(_mm256_cmpgt_epi32(h, _mm256_add_epi32(iy, one)), w);
            __m256i at = _mm256_add_epi32(_mm256_mullo_epi32(iy, w), ix);
            __m256i below = _mm256_add_epi32(at, down);
            __m256i tx = _mm256_and_si256(_mm256_srli_epi32(cu, 8), low);
            __m256i ty = _mm256_and_si256(_mm256_srli_epi32(cv, 8), low);
            __m256i upper = LerpBy8(Gather8(pixels, at), Gather8(pixels, _mm256_add_epi32(at, right)), tx);
            __m256i lower =
                LerpBy8(Gather8(pixels, below), Gather8(pixels, _mm256_add_epi32(below, right)), tx);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), LerpBy8(upper, lower, ty));
        }
    }
    SampleAlongPlain(out + x, count - x, pixels, width, height, fu + step_u * x, fv + step_v * x, step_u,
                     step_v);
}

VELMORA_AVX2 void RadialAvx2(std::uint32_t* out, const float* us, int count, float inv_w, float dy2,
                             const std::uint32_t* ramp, float last)
{
    const __m256 w = _mm256_set1_ps(inv_w), two = _mm256_set1_ps(2), one = _mm256_set1_ps(1),
                 zero = _mm256_setzero_ps(), d = _mm256_set1_ps(dy2), l = _mm256_set1_ps(last),
                 half = _mm256_set1_ps(0.5f);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256 dx = _mm256_sub_ps(_mm256_mul_ps(_mm256_mul_ps(_mm256_loadu_ps(us + i), w), two), one);
        __m256 d2 = _mm256_add_ps(_mm256_mul_ps(dx, dx), d);
        // max and min give their second operand for NaN and for equal
        // values: the same as the plain clamp.
        d2 = _mm256_min_ps(_mm256_max_ps(d2, zero), one);
        __m256i index = _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(d2, l), half));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), Gather8(ramp, index));
    }
    RadialPlain(out + i, us + i, count - i, inv_w, dy2, ramp, last);
}

#endif

enum class Path { Plain, Sse2, Avx2 };

Path Detect()
{
#ifdef VELMORA_PIXEL_ROWS_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return Path::Avx2;
    return Path::Sse2;
#else
    return Path::Plain;
#endif
}

const Path kBest = Detect();
std::atomic<bool> force_plain{false};

Path Current() { return force_plain.load(std::memory_order_relaxed) ? Path::Plain : kBest; }

}  // namespace

void OverRow(std::uint32_t* dst, const std::uint32_t* src, int count)
{
    switch (Current()) {
#ifdef VELMORA_PIXEL_ROWS_X86
    case Path::Avx2: return OverAvx2(dst, src, count);
    case Path::Sse2: return OverSse2(dst, src, count);
#endif
    default: return OverPlain(dst, src, count);
    }
}

void OverRowWeighted(std::uint32_t* dst, const std::uint32_t* src, int count, std::uint32_t weight)
{
    switch (Current()) {
#ifdef VELMORA_PIXEL_ROWS_X86
    case Path::Avx2: return OverWeightedAvx2(dst, src, count, weight);
    case Path::Sse2: return OverWeightedSse2(dst, src, count, weight);
#endif
    default: return OverWeightedPlain(dst, src, count, weight);
    }
}

void OverSolidRow(std::uint32_t* dst, std::uint32_t colour, int count)
{
    switch (Current()) {
#ifdef VELMORA_PIXEL_ROWS_X86
    case Path::Avx2: return OverSolidAvx2(dst, colour, count);
    case Path::Sse2: return OverSolidSse2(dst, colour, count);
#endif
    default: return OverSolidPlain(dst, colour, count);
    }
}

void LerpRow(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b, int count, std::uint32_t t)
{
    switch (Current()) {
#ifdef VELMORA_PIXEL_ROWS_X86
    case Path::Avx2: return LerpAvx2(out, a, b, count, t);
    case Path::Sse2: return LerpSse2(out, a, b, count, t);
#endif
    default: return LerpPlain(out, a, b, count, t);
    }
}

void SampleAcross(std::uint32_t* out, int count, const std::uint32_t* row, int first, int last,
                  std::int64_t fu, std::int64_t step, std::int32_t max_u)
{
#ifdef VELMORA_PIXEL_ROWS_X86
    if (Current() == Path::Avx2) return SampleAcrossAvx2(out, count, row, first, last, fu, step, max_u);
#endif
    SampleAcrossPlain(out, count, row, first, last, fu, step, max_u);
}

void SampleAlong(std::uint32_t* out, int count, const std::uint32_t* pixels, int width, int height,
                 std::int64_t fu, std::int64_t fv, std::int64_t step_u, std::int64_t step_v)
{
#ifdef VELMORA_PIXEL_ROWS_X86
    if (Current() == Path::Avx2)
        return SampleAlongAvx2(out, count, pixels, width, height, fu, fv, step_u, step_v);
#endif
    SampleAlongPlain(out, count, pixels, width, height, fu, fv, step_u, step_v);
}

void FloatSteps(float* out, int count, float u, float step)
{
    int i = 0;
    while (i < count) {
        const int run = ExactRun(u, step, count - i);
        if (run < 16 && run < count - i) {
            // Steps too fine for long exact runs: one at a time.
            for (; i < count; ++i, u += step) out[i] = u;
            return;
        }
        for (int j = 0; j < run; ++j) out[i + j] = u + static_cast<float>(j) * step;
        i += run;
        u = out[i - 1] + step;
    }
}

void RadialRow(std::uint32_t* out, const float* us, int count, float inv_w, float dy2,
               const std::uint32_t* ramp, float last)
{
#ifdef VELMORA_PIXEL_ROWS_X86
    if (Current() == Path::Avx2) return RadialAvx2(out, us, count, inv_w, dy2, ramp, last);
#endif
    RadialPlain(out, us, count, inv_w, dy2, ramp, last);
}

const char* PixelRowsPath()
{
    switch (Current()) {
    case Path::Avx2: return "avx2";
    case Path::Sse2: return "sse2";
    default: return "plain";
    }
}

void UsePlainPixelRows(bool plain) { force_plain.store(plain, std::memory_order_relaxed); }

}  // namespace flash
