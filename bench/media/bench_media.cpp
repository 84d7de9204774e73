// What a user waits for: measuring a song on import (the packet scan of a
// VBR MP3 without a length header), and turning decoded pictures into pane
// bitmaps at the preview's sizes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "platform/media/decoder.h"
#include "platform/media/frame_scaler.h"
#include "platform/media/pipeline.h"
#include "platform/media/probe.h"

namespace fs = std::filesystem;

namespace {

fs::path Folder()
{
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("velmora_bench_media_" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

fs::path Make(const std::string& name, const std::string& arguments)
{
    const fs::path file = Folder() / name;
    if (fs::exists(file)) return file;
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " '" + file.string() + "'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot run: " + command);
    return file;
}

// A four-minute song: noise and silence in turns, so the bit rate varies.
void BM_MeasureVbrSong(benchmark::State& state)
{
    const fs::path song =
        Make("song.mp3",
             "-f lavfi -i \"anoisesrc=d=240:a=0.3:r=44100,volume=gt(mod(t\\,20)\\,10):eval=frame\" "
             "-c:a libmp3lame -q:a 2 -write_xing 0");
    double seconds = 0;
    for (auto _ : state) {
        seconds = media::ProbeMedia(song).duration;
        benchmark::DoNotOptimize(seconds);
    }
    state.counters["seconds"] = seconds;
}
BENCHMARK(BM_MeasureVbrSong)->Unit(benchmark::kMillisecond);

// One picture of a 352x288 video into panes of the three picture qualities.
void BM_ScalePicture(benchmark::State& state)
{
    const fs::path video =
        Make("video.avi", "-f lavfi -i testsrc=size=352x288:rate=25:duration=1 -c:v mpeg4");
    media::Pipeline pipeline(video, media::Pipeline::Mode::Stepped);
    pipeline.DecodeUntil(0);
    std::optional<media::VideoFrame> picture = pipeline.TakeFrameAt(0);
    if (!picture) {
        state.SkipWithError("no picture");
        return;
    }
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    std::vector<uint32_t> pane(static_cast<size_t>(width) * height);
    media::FrameScaler scaler;
    for (auto _ : state) {
        scaler.Scale(*picture->frame, pane.data(), width, height, width);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ScalePicture)->Args({352, 288})->Args({704, 576})->Args({1408, 1152});

// Decoding a second of 704x576 video with sound, as playback does.
void BM_DecodeVideoSecond(benchmark::State& state)
{
    const fs::path video = Make("big.avi",
                                "-f lavfi -i testsrc=size=704x576:rate=25:duration=2 "
                                "-f lavfi -i sine=d=2 -c:v mpeg4 -c:a pcm_s16le -shortest");
    for (auto _ : state) {
        media::Pipeline pipeline(video, media::Pipeline::Mode::Stepped);
        for (double t = 0; t < 1.0; t += 0.04) {
            pipeline.DecodeUntil(t);
            benchmark::DoNotOptimize(pipeline.TakeFrameAt(t));
        }
    }
}
BENCHMARK(BM_DecodeVideoSecond)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
