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

// out[i] = a[i] * (256 - t) / 256 + b[i] * t / 256 per channel, t in 0..256.
void LerpRow(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b, int count, std::uint32_t t);

// The instruction set the loops use: "avx2", "sse2" or "plain".
const char* PixelRowsPath();

// Forces the plain path (for comparing the paths in tests).
void UsePlainPixelRows(bool plain);

}  // namespace flash
