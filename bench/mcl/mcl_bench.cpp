// DVD encoding of rendered BMP frames: libmcl against the ffmpeg command line
// with -target pal-dvd, on the same frames, side by side in each iteration.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "mcl/mcl.h"

namespace {

namespace fs = std::filesystem;

int FrameCount()
{
    const char* text = std::getenv("VELMORA_BENCH_MCL_FRAMES");
    return text ? std::max(1, std::atoi(text)) : 1500;
}

// 720 x 576 BMP frames with moving content, made once for the whole program.
struct Frames {
    fs::path dir;
    std::vector<std::string> names;
    bool ok = false;

    Frames()
    {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("mclbench-" + std::to_string(rd()));
        fs::create_directories(dir);
        const int n = FrameCount();
        std::string command =
            "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=720x576:rate=25 -frames:v " +
            std::to_string(n) + " \"" + (dir / "f%04d.bmp").string() + "\"";
        ok = std::system(command.c_str()) == 0;
        for (int i = 1; i <= n; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "f%04d.bmp", i);
            names.push_back((dir / name).string());
        }
    }
    ~Frames()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Frames& TheFrames()
{
    static Frames frames;
    return frames;
}

thread_local const std::vector<std::string>* t_names = nullptr;

void Source(MclSource* source, int32_t index)
{
    if (index >= 0 && size_t(index) < t_names->size())
        MclSourceSetFile(source, (*t_names)[size_t(index)].c_str());
    else
        MclSourceFinished(source);
}

double EncodeWithMcl(const Frames& frames, const std::string& out)
{
    auto start = std::chrono::steady_clock::now();
    t_names = &frames.names;
    MclConverter* c = MclCreate();
    MclAssignVideoSource(c, Source);
    MclSetFormatPreset(c, MCL_PRESET_DVD, MCL_TV_PAL);
    MclVideoSetFileName(c, out.c_str());
    MclAudioSetFileName(c, out.c_str());
    int32_t result = MclConvert(c);
    MclFree(c);
    if (result != MCL_OK) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double EncodeWithFfmpeg(const Frames& frames, const std::string& out)
{
    // silence as our audio stream, so both write the same streams
    std::string command =
        "ffmpeg -nostdin -loglevel error -y -framerate 25 -i \"" + (frames.dir / "f%04d.bmp").string() +
        "\" -f lavfi -i anullsrc=r=48000:cl=stereo -shortest -target pal-dvd \"" + out + "\"";
    auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_DvdPalFromBmp(benchmark::State& state)
{
    Frames& frames = TheFrames();
    if (!frames.ok) {
        state.SkipWithError("ffmpeg could not make the frames");
        return;
    }
    const std::string ours = (frames.dir / "mcl.mpg").string(), theirs = (frames.dir / "ffmpeg.mpg").string();
    double ratio = 0, ffmpegSeconds = 0;
    for (auto _ : state) {
        double mine = EncodeWithMcl(frames, ours);
        double ref = EncodeWithFfmpeg(frames, theirs);
        if (mine < 0 || ref < 0) {
            state.SkipWithError("an encode failed");
            return;
        }
        state.SetIterationTime(mine);
        ffmpegSeconds = ref;
        ratio = mine / ref;
    }
    state.counters["ffmpeg_s"] = ffmpegSeconds;
    state.counters["ratio"] = ratio;  // target: at most 1.1
    state.counters["frames"] = double(frames.names.size());
}
BENCHMARK(BM_DvdPalFromBmp)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
