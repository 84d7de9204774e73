// Rendering speed of the movie player: one frame of an effect template with
// three picture layers and a lyric line at the production sizes, the shipped
// templates, preview playback at 352 x 288, and a load point.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "data/shipped_templates.h"
#include "platform/core/application.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/movie_source.h"
#include "platform/flash/player.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"

namespace fs = std::filesystem;

namespace {

// Three photos over each other, zooming, turning and fading, and the lyric.
const char* kThreePictures = R"(movie 352 288 fps 25 frames 100 background #000000
layer a image file "tupian1.jpg" fit cover anchor center
  key 0 x 176 y 144 scale 1.1
  key 99 scale 1.3
layer b image file "tupian2.jpg" fit cover box 300 240 anchor center
  key 0 x 176 y 144 rot -8 alpha 0.7
  key 99 rot 8
layer c image file "tupian3.jpg" fit contain box 200 160 anchor center
  key 0 x 120 y 120 rot 5 alpha 0.8
  key 99 x 240 y 160 rot -5
layer lyric text var "LRC_geci" lyric size 12 color #FFFFFF align center shadow #000000C0 box 342 30
  key 0 x 5 y 250
at 0 load
)";

class Fixture {
public:
    Fixture()
    {
        dir_ = fs::temp_directory_path() / "velmora_bench_flash";
        fs::create_directories(dir_);
        for (int i = 1; i <= 15; ++i) {
            TBitmap photo(1024, 768);
            for (int y = 0; y < 768; ++y)
                for (int x = 0; x < 1024; ++x)
                    photo.ScanLine(y)[x] =
                        gfx::RGB((x * 255 / 1024 + i * 40) & 255, y * 255 / 768, (x ^ y) & 255);
            gfx::SaveJpeg(photo, dir_ / ("tupian" + std::to_string(i) + ".jpg"));
        }
        auto bytes = flash::WriteMovie(flash::CompileMovieSource(kThreePictures, dir_, "bench"));
        std::ofstream(dir_ / "three.swf", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        for (const shipped::EffectTemplate& t : shipped::kEffectTemplates)
            fs::copy_file(fs::path(VELMORA_DATA_OUT) / "template-movies" / (std::string(t.movie) + ".swf"),
                          dir_ / (std::string(t.movie) + ".swf"), fs::copy_options::overwrite_existing);
    }
    ~Fixture() { fs::remove_all(dir_); }
    fs::path Movie(const std::string& name) const { return dir_ / (name + ".swf"); }

private:
    fs::path dir_;
};

Fixture& Files()
{
    static Fixture fixture;
    return fixture;
}

void SetLyric(flash::Player& player)
{
    player.SetVariable("LRC_geci", "月亮代表我的心 The moon represents my heart");
    player.SetVariable("LRC_gecidaxiao", "14");
    player.SetVariable("LRC_x", "5");
    player.SetVariable("LRC_y", "250");
}

void RenderFrame(benchmark::State& state, const std::string& movie, int frame)
{
    core::TestApplication app;
    flash::Player player;
    if (!player.Load(Files().Movie(movie))) {
        state.SkipWithError(player.LoadError().c_str());
        return;
    }
    player.Stop();
    SetLyric(player);
    for (int f = 1; f <= frame; ++f) player.SetFrameNum(f);
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    TBitmap target(w, h);
    // Frame after frame of a stretch without load points, as production
    // draws them: what moves is drawn anew each time.
    int next = frame;
    for (auto _ : state) {
        player.SetFrameNum(next);
        player.Render(target, TRect(0, 0, w, h));
        benchmark::DoNotOptimize(target.Pixels());
        next = next + 1 < frame + 25 ? next + 1 : frame;
    }
}

void BM_ThreePictureFrame(benchmark::State& state) { RenderFrame(state, "three", 50); }
BENCHMARK(BM_ThreePictureFrame)
    ->Args({704, 576})
    ->Args({1408, 1152})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_KenBurnsFrame(benchmark::State& state) { RenderFrame(state, "kenburns", 35); }
BENCHMARK(BM_KenBurnsFrame)
    ->Args({704, 576})
    ->Args({1408, 1152})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_CardsFrame(benchmark::State& state) { RenderFrame(state, "cards", 30); }
BENCHMARK(BM_CardsFrame)->Args({704, 576})->Args({1408, 1152})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilmstripFrame(benchmark::State& state) { RenderFrame(state, "filmstrip", 30); }
BENCHMARK(BM_FilmstripFrame)
    ->Args({704, 576})
    ->Args({1408, 1152})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Preview: one tick of playback and a paint of the 352 x 288 pane.
void BM_PreviewTick(benchmark::State& state)
{
    core::TestApplication app;
    flash::Player player;
    if (!player.Load(Files().Movie("cards"))) {
        state.SkipWithError(player.LoadError().c_str());
        return;
    }
    SetLyric(player);
    TBitmap pane(352, 288);
    for (auto _ : state) {
        app.RunForMs(40);
        player.Render(pane, TRect(0, 0, 352, 288));
        benchmark::DoNotOptimize(pane.Pixels());
    }
}
BENCHMARK(BM_PreviewTick)->Unit(benchmark::kMillisecond)->UseRealTime();

// A load point of a segment asking for three 1024 x 768 photos.
void BM_LoadPoint(benchmark::State& state)
{
    core::TestApplication app;
    flash::Player player;
    if (!player.Load(Files().Movie("three"))) {
        state.SkipWithError(player.LoadError().c_str());
        return;
    }
    player.Stop();
    for (auto _ : state) {
        player.SetFrameNum(1);
        player.SetFrameNum(0);  // frame 0 is the load point
    }
}
BENCHMARK(BM_LoadPoint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
