#pragma once
// The renderer's per-row pixel loops on premultiplied 0xAABBGGRR pixels,
// in SIMD where the processor has it (chosen once at run time) and plain
// otherwise; every path gives the same bytes.
#include <cstdint>

namespace flash {

// dst[i] = src[i] over dst[i].
void OverRow(std::uint32_t* dst, const std::uint32_t* src, int count);

// dst[i] = src[i] scaled by weight (0..256), over dst[i].
void OverRowWeighted(std::uint32_t* dst, const std::uint32_t* src, int count, std::uint32_t weight);

// dst[i] = colour over dst[i].
void OverSolidRow(std::uint32_t* dst, std::uint32_t colour, int count);

// out[i] = a[i] * (256 - t) / 256 + b[i] * t / 256 per channel, t in 0..256.
void LerpRow(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b, int count, std::uint32_t t);

// Bilinear samples across one source row already blended between its two
// rows: sample i is at u = clamp(fu + i * step, 0, max_u) in 16.16 fixed
// point and mixes columns u >> 16 and the next (up to last); row holds the
// columns from first to last.
void SampleAcross(std::uint32_t* out, int count, const std::uint32_t* row, int first, int last,
                  std::int64_t fu, std::int64_t step, std::int32_t max_u);

// Bilinear samples of a width x height picture along a line: sample i is at
// (fu + i * step_u, fv + i * step_v) in 16.16 fixed point, clamped to the
// picture, pixel centres at whole numbers.
void SampleAlong(std::uint32_t* out, int count, const std::uint32_t* pixels, int width, int height,
                 std::int64_t fu, std::int64_t fv, std::int64_t step_u, std::int64_t step_v);

// out[i] = u, u + step, (u + step) + step, ... in float, rounded after each
// step as a running sum is: runs where every sum is exact are filled at
// once.
void FloatSteps(float* out, int count, float u, float step);

// Colours of a radial ramp along a row: out[i] = ramp[int(d2 * last + 0.5)]
// where d2 = clamp((us[i] * inv_w * 2 - 1)^2 + dy2, 0, 1), in float.
void RadialRow(std::uint32_t* out, const float* us, int count, float inv_w, float dy2,
               const std::uint32_t* ramp, float last);

// The instruction set the loops use: "avx2", "sse2" or "plain".
const char* PixelRowsPath();

// Forces the plain path (for comparing the paths in tests).
void UsePlainPixelRows(bool plain);

}  // namespace flash
