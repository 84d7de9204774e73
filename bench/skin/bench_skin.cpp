// Speed of the skin paths that run while a program starts and restyles:
// reading a whole skin archive (inflate, records, bitmaps), cutting a
// built-in strip cell, and painting a push-button face in nine slices.
// Targets (medians, one core): a complete skin read <= 5 ms; a built-in
// cell <= 0.2 ms; a 75x23 nine-slice face <= 0.05 ms.
#include <benchmark/benchmark.h>

#include "platform/gfx/canvas.h"
#include "skin/kiv_public.h"
#include "skin/kiv_skin_reader.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

void BM_ReadWholeSkin(benchmark::State& state)
{
    const auto archive =
        skinpack::BuildArchive(skinpack::BuildPayload(skinpack::StyleSkinRecords(TkivUIStyle::DeepBlue)));
    for (auto _ : state) {
        Tsk2SkinFileReader reader(archive, "");
        benchmark::DoNotOptimize(reader.GetBitmap("SKIN2_BUTTON"));
    }
    state.counters["bytes"] = static_cast<double>(archive.size());
}
BENCHMARK(BM_ReadWholeSkin)->Unit(benchmark::kMillisecond);

void BM_BuiltInCell(benchmark::State& state)
{
    TBitmap cell;
    for (auto _ : state) {
        skin::GetBuiltInBitmap(TkivUIStyle::WinXP, 5, &cell, 7, 18);
        benchmark::DoNotOptimize(cell.Pixels());
    }
}
BENCHMARK(BM_BuiltInCell)->Unit(benchmark::kMicrosecond);

void BM_NineSliceButton(benchmark::State& state)
{
    TBitmap face;
    skin::GetBuiltInBitmap(TkivUIStyle::BlueGlass, 1, &face, 1, 3);
    TBitmap target(75, 23, clWhite);
    for (auto _ : state) {
        skin::DrawNineSliceBitmap(face, target.Canvas(), target.BoundsRect(), true);
        benchmark::DoNotOptimize(target.Pixels());
    }
}
BENCHMARK(BM_NineSliceButton)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
