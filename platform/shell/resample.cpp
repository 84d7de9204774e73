#include "platform/shell/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace shell {

namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// For each output index, the source indices it reads and their weights,
// the weights of one output summing to kWeightOne.
struct Taps {
    std::vector<int> first;  // per output: offset into index/weight
    std::vector<int> count;  // per output: number of taps
    std::vector<int> index;
    std::vector<int> weight;
};

Taps MakeTaps(int sourceSize, int targetSize)
{
    Taps taps;
    taps.first.resize(targetSize);
    taps.count.resize(targetSize);
    const double scale = static_cast<double>(sourceSize) / targetSize;
    for (int i = 0; i < targetSize; ++i) {
        std::vector<std::pair<int, double>> picked;
        if (scale > 1.0) {
            // Area average of the source span [i * scale, (i + 1) * scale).
            const double from = i * scale;
            const double to = std::min<double>((i + 1) * scale, sourceSize);
            for (int s = static_cast<int>(from); s < sourceSize && s < to; ++s) {
                const double cover = std::min<double>(s + 1, to) - std::max<double>(s, from);
                if (cover > 0) picked.emplace_back(s, cover);
            }
        } else {
            // Linear interpolation between the two nearest source centres.
            const double centre = (i + 0.5) * scale - 0.5;
            const int left = static_cast<int>(std::floor(centre));
            const double fraction = centre - left;
            const int a = std::clamp(left, 0, sourceSize - 1);
            const int b = std::clamp(left + 1, 0, sourceSize - 1);
            picked.emplace_back(a, 1.0 - fraction);
            if (fraction > 0) picked.emplace_back(b, fraction);
        }
        double total = 0;
        for (const auto& [s, w] : picked) total += w;
        taps.first[i] = static_cast<int>(taps.index.size());
        taps.count[i] = static_cast<int>(picked.size());
        int given = 0;
        for (std::size_t k = 0; k < picked.size(); ++k) {
            int w = static_cast<int>(std::lround(picked[k].second / total * kWeightOne));
            if (k + 1 == picked.size()) w = kWeightOne - given;  // no rounding drift
            given += w;
            taps.index.push_back(picked[k].first);
            taps.weight.push_back(w);
        }
    }
    return taps;
}

// Sums of 8-bit channels times weights that add up to kWeightOne fit in
// 32 bits; linear weights are never negative, so no clamping below 0 is due.
inline std::uint32_t Pack(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    auto channel = [](std::uint32_t v) {
        return std::min<std::uint32_t>((v + kWeightOne / 2) >> kWeightBits, 255);
    };
    return channel(r) | (channel(g) << 8) | (channel(b) << 16);
}

}  // namespace

TBitmap ResamplePicture(const TBitmap& source, int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    TBitmap result(width, height, 0);
    if (source.Empty()) return result;
    const int sourceWidth = source.Width();
    const int sourceHeight = source.Height();

    // Rows first: sourceHeight rows of `width` pixels.
    const Taps across = MakeTaps(sourceWidth, width);
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(sourceHeight) * width);
    for (int y = 0; y < sourceHeight; ++y) {
        const std::uint32_t* in = source.ScanLine(y);
        std::uint32_t* out = rows.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            std::uint32_t r = 0, g = 0, b = 0;
            const int first = across.first[x];
            const int* index = across.index.data() + first;
            const int* weight = across.weight.data() + first;
            for (int k = 0; k < across.count[x]; ++k) {
                const std::uint32_t p = in[index[k]];
                const std::uint32_t w = static_cast<std::uint32_t>(weight[k]);
                r += (p & 0xFF) * w;
                g += ((p >> 8) & 0xFF) * w;
                b += ((p >> 16) & 0xFF) * w;
            }
            out[x] = Pack(r, g, b);
        }
    }

    // Then columns, a whole output row at a time.
    const Taps down = MakeTaps(sourceHeight, height);
    // Channel sums kept apart so that the loops below vectorise.
    std::vector<std::uint32_t> sumR(width), sumG(width), sumB(width);
    for (int y = 0; y < height; ++y) {
        std::fill(sumR.begin(), sumR.end(), 0);
        std::fill(sumG.begin(), sumG.end(), 0);
        std::fill(sumB.begin(), sumB.end(), 0);
        const int first = down.first[y];
        for (int k = 0; k < down.count[y]; ++k) {
            const std::uint32_t* in = rows.data() + static_cast<std::size_t>(down.index[first + k]) * width;
            const std::uint32_t w = static_cast<std::uint32_t>(down.weight[first + k]);
            std::uint32_t* r = sumR.data();
            std::uint32_t* g = sumG.data();
            std::uint32_t* b = sumB.data();
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = in[x];
                r[x] += (p & 0xFF) * w;
                g[x] += ((p >> 8) & 0xFF) * w;
                b[x] += ((p >> 16) & 0xFF) * w;
            }
        }
        std::uint32_t* out = result.ScanLine(y);
        for (int x = 0; x < width; ++x) out[x] = Pack(sumR[x], sumG[x], sumB[x]);
    }
    return result;
}

}  // namespace shell
