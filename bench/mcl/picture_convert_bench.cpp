// The colour conversion of one album frame to 4:2:0 at the output size: the
// fast path against the scaler's generic path (bicubic at the same size, the
// area filter at twice the size), CPU time per frame.
#include <benchmark/benchmark.h>

#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}

#include "mcl/picture_convert.h"

namespace {

constexpr int kWidth = 704, kHeight = 576;

std::vector<uint8_t> Frame(int scale)
{
    std::vector<uint8_t> pixels(size_t(kWidth * scale) * size_t(kHeight * scale) * 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 7 + i / 4096);
    return pixels;
}

void Fast(benchmark::State& state)
{
    const int scale = int(state.range(0));
    std::vector<uint8_t> pixels = Frame(scale);
    const mcl::RgbPicture in{pixels.data(), kWidth * scale * 4, kWidth * scale, kHeight * scale,
                             AV_PIX_FMT_RGB0};
    mcl::PicturePool pool(kWidth, kHeight);
    for (auto _ : state) {
        mcl::Frame out = pool.Get();
        mcl::ConvertToYuv420(in, out.get());
        benchmark::DoNotOptimize(out->data[0][0]);
    }
}

void Scaler(benchmark::State& state)
{
    const int scale = int(state.range(0));
    std::vector<uint8_t> pixels = Frame(scale);
    SwsContext* sws =
        sws_getContext(kWidth * scale, kHeight * scale, AV_PIX_FMT_RGB0, kWidth, kHeight, AV_PIX_FMT_YUV420P,
                       scale == 2 ? SWS_AREA : SWS_BICUBIC, nullptr, nullptr, nullptr);
    mcl::PicturePool pool(kWidth, kHeight);
    const uint8_t* src[4] = {pixels.data()};
    const int stride[4] = {kWidth * scale * 4};
    for (auto _ : state) {
        mcl::Frame out = pool.Get();
        sws_scale(sws, src, stride, 0, kHeight * scale, out->data, out->linesize);
        benchmark::DoNotOptimize(out->data[0][0]);
    }
    sws_freeContext(sws);
}

BENCHMARK(Fast)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(Scaler)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
