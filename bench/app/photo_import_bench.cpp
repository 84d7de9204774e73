// The photo import's speed target, the whole way: 30 camera photos of 12
// megapixels (4000 x 3000) chosen in "导入照片", each rendered into its
// picture and listed, in at most 3 seconds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/dialogs.h"
#include "skin/kiv_list_view.h"

namespace {

namespace fs = std::filesystem;

// 30 different photos with detail everywhere (a JPEG of flat colour would
// decode unrealistically fast).
class Photos {
public:
    Photos()
    {
        TBitmap picture(4000, 3000);
        for (int i = 0; i < 30; ++i) {
            for (int y = 0; y < picture.Height(); ++y) {
                std::uint32_t* row = picture.ScanLine(y);
                for (int x = 0; x < picture.Width(); ++x) {
                    const int r = (x * 255 / 4000 + i * 8) & 0xFF;
                    const int g = (y * 255 / 3000) ^ ((x / 7 + y / 5 + i) & 0x3F);
                    const int b = ((x ^ y) + i * 17) & 0xFF;
                    row[x] = gfx::RGB(r, g, b);
                }
            }
            const fs::path path = dir_.Path() / ("photo" + std::to_string(i + 1) + ".jpg");
            gfx::SaveJpeg(picture, path);
            paths_.push_back(path.string());
        }
    }
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    core::TempDir dir_;
    std::vector<std::string> paths_;
};

void BM_ImportButton30Photos12MP(benchmark::State& state)
{
    static const Photos photos;
    ui::SetFileDialogHook([](const TOpenDialog&) { return std::optional(photos.Paths()); });
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto application = std::make_unique<core::TestApplication>();
            core::TestSystemDir system;
            const fs::path work = system.Path() / "brenholt_1";
            for (const char* sub : {"zpyjj", "jjzp", "llzp", "zhzp", "pwwjj", "xtsz"})
                fs::create_directories(work / sub);
            app::CreateCastoraForms();
            Form1->Show();
            App().ProcessMessages();
            state.ResumeTiming();

            Form1->kivButton4Click(nullptr);

            state.PauseTiming();
            if (Form1->kivListView1->Items().Count() != 30)
                state.SkipWithError("not every photo was imported");
            application.reset();
        }
        state.ResumeTiming();
    }
    ui::SetFileDialogHook({});
    state.counters["photos"] = 30;
}
BENCHMARK(BM_ImportButton30Photos12MP)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
