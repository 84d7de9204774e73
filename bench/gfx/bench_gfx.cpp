// Speed of the graphics layer's hot paths. Targets (medians, one core):
// a 704x576 bilinear scaled blit with alpha <= 1 ms; a line of 20 CJK
// glyphs at 24 px, after warm-up, <= 0.2 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "platform/gfx/gfx.h"

namespace {

TBitmap Photo(int w, int h, bool alpha)
{
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = gfx::RGB(x * 7, y * 3, (x ^ y) & 0xFF);
            if (alpha) p |= static_cast<std::uint32_t>((x + y) & 0xFF) << 24;
            b.ScanLine(y)[x] = p;
        }
    b.SetHasAlpha(alpha);
    return b;
}

void BM_ScaledBlitGlobalAlpha(benchmark::State& state)
{
    const TBitmap src = Photo(1024, 768, false);
    TBitmap dst(704, 576, clBlack);
    gfx::BlendOptions o;
    o.alpha = 200;
    for (auto _ : state) {
        gfx::DrawScaled(dst, dst.BoundsRect(), src, src.BoundsRect(), o);
        benchmark::DoNotOptimize(dst.Pixels());
    }
}
BENCHMARK(BM_ScaledBlitGlobalAlpha)->Unit(benchmark::kMillisecond);

void BM_ScaledBlitPixelAlpha(benchmark::State& state)
{
    const TBitmap src = Photo(1024, 768, true);
    TBitmap dst(704, 576, clBlack);
    gfx::BlendOptions o;
    o.alpha = 200;
    for (auto _ : state) {
        gfx::DrawScaled(dst, dst.BoundsRect(), src, src.BoundsRect(), o);
        benchmark::DoNotOptimize(dst.Pixels());
    }
}
BENCHMARK(BM_ScaledBlitPixelAlpha)->Unit(benchmark::kMillisecond);

void BM_TransformedBlit(benchmark::State& state)
{
    const TBitmap src = Photo(704, 576, true);
    TBitmap dst(704, 576, clBlack);
    const gfx::Affine m = gfx::Affine::Translate(352, 288) * gfx::Affine::Rotate(0.3) *
                          gfx::Affine::Scale(0.9, 0.9) * gfx::Affine::Translate(-352, -288);
    gfx::BlendOptions o;
    o.alpha = 220;
    for (auto _ : state) {
        gfx::DrawTransformed(dst, src, m, o);
        benchmark::DoNotOptimize(dst.Pixels());
    }
}
BENCHMARK(BM_TransformedBlit)->Unit(benchmark::kMillisecond);

void BM_CjkLine24px(benchmark::State& state)
{
    TBitmap b(600, 40, clWhite);
    TCanvas& c = b.Canvas();
    c.Font().SetName("宋体");
    c.Font().SetHeight(-24);
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);
    const std::string line = "我们一起唱这首歌让快乐的时光永远留在心里";  // 20 glyphs
    c.TextOut(0, 0, line);  // warm-up: faces opened, glyphs cached
    for (auto _ : state) {
        c.TextOut(0, 0, line);
        benchmark::DoNotOptimize(b.Pixels());
    }
}
BENCHMARK(BM_CjkLine24px)->Unit(benchmark::kMicrosecond);

void BM_StretchBoxThumbnail(benchmark::State& state)
{
    const TBitmap src = Photo(1024, 768, false);
    TBitmap dst(160, 120, clBlack);
    for (auto _ : state) {
        dst.Canvas().StretchDraw(dst.BoundsRect(), src, gfx::StretchFilter::Box);
        benchmark::DoNotOptimize(dst.Pixels());
    }
}
BENCHMARK(BM_StretchBoxThumbnail)->Unit(benchmark::kMillisecond);

void BM_JpegDecode(benchmark::State& state)
{
    const auto file = gfx::EncodeJpeg(Photo(2048, 1536, false));
    const int scale = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TBitmap b = gfx::DecodeJpeg(file, scale);
        benchmark::DoNotOptimize(b.Pixels());
    }
}
BENCHMARK(BM_JpegDecode)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_JpegEncode704x576(benchmark::State& state)
{
    const TBitmap frame = Photo(704, 576, false);
    for (auto _ : state) {
        auto data = gfx::EncodeJpeg(frame);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(BM_JpegEncode704x576)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
