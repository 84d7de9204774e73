// The photo import's speed target: 30 camera photos of 12 megapixels
// (4000 x 3000) through the thumbnail extractor in at most 3 seconds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/files.h"
#include "platform/gfx/image_io.h"
#include "platform/shell/thumbnail.h"

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
            paths_.push_back(path);
        }
    }
    const std::vector<fs::path>& Paths() const { return paths_; }

private:
    core::TempDir dir_;
    std::vector<fs::path> paths_;
};

void BM_Import30Photos12MP(benchmark::State& state)
{
    static const Photos photos;
    for (auto _ : state) {
        int made = 0;
        for (const fs::path& path : photos.Paths()) {
            auto thumbnail = shell::ExtractThumbnail(path, {708, 771});
            if (!thumbnail) state.SkipWithError("a photo did not decode");
            made += thumbnail ? 1 : 0;
            benchmark::DoNotOptimize(thumbnail);
        }
        benchmark::DoNotOptimize(made);
    }
    state.counters["photos"] = 30;
}
BENCHMARK(BM_Import30Photos12MP)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
