// Speed of the skinned frame on a resize: the border-width question, the
// window region scanned from a skin's title strip, and the window picture
// with its border. Targets (medians, one core): a resize of a 1024 x 768
// skinned window with its region <= 1 ms; its whole picture <= 5 ms.
#include <benchmark/benchmark.h>

#include "platform/core/application.h"
#include "platform/ui/form.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_form.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

struct SkinnedWindow {
    core::TestApplication app;
    TForm* host = CreateForm<TForm>();
    TkivForm* panel = nullptr;

    SkinnedWindow()
    {
        host->SetBounds(0, 0, 1024, 768);
        panel = new TkivForm(host);
        panel->SetCaption("Velmora");
        auto* theme = new TkivBuiltInFileTheme(host);
        const auto archive = skinpack::BuildArchive(
            skinpack::BuildPayload(skinpack::StyleSkinRecords(TkivUIStyle::BlueGlass)));
        theme->SetSkinData({archive.begin(), archive.end()});
        panel->SetFileTheme(theme);
        panel->SetUIStyle(TkivUIStyle::FromThemeFile);
    }
};

void BM_ResizeWithRegion(benchmark::State& state)
{
    SkinnedWindow w;
    int step = 0;
    for (auto _ : state) {
        // Alternate widths, so each step is a real resize.
        w.host->SetBounds(0, 0, 1024 - (++step & 1), 768);
        benchmark::DoNotOptimize(w.host->WindowRegion());
    }
    state.counters["region"] = w.host->WindowRegion().has_value() ? 1 : 0;
}
BENCHMARK(BM_ResizeWithRegion)->Unit(benchmark::kMillisecond);

void BM_WindowPicture(benchmark::State& state)
{
    SkinnedWindow w;
    for (auto _ : state) {
        TBitmap picture = w.host->RenderWindow();
        benchmark::DoNotOptimize(picture.Pixels());
    }
}
BENCHMARK(BM_WindowPicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
