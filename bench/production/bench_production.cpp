// A 60-second album (1500 frames, DVD PAL, music and lyrics) produced by the
// production form against the slideshow a Linux user would make with the
// ffmpeg command line (five photos with zoompan, a song, -target pal-dvd),
// side by side in one run: VELMORA_BENCH_PAIRS pairs (at least 5) run in
// turn, medians of the wall and CPU time of each (and the CPU per frame),
// peak memory, and the machine's load average beside every figure. With
// VELMORA_BENCH_KEEP naming a folder, the last album of each size is kept
// there (QUALITY.mpg) to be compared with another build's.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "mcl/mcl.h"
#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/edit.h"
#include "production/quality_form.h"
#include "production/production_form.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_radio_button.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSeconds = 60.0;
constexpr int kPhotos = 5;
constexpr int kFrames = 1500;

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

// The album's material: five photos, the song, the template movie.
struct Album {
    fs::path dir, work, song;
    bool ok = false;

    Album()
    {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("velmora-bench-production-" + std::to_string(rd()));
        work = dir / "work";
        for (const char* sub : {"zpyjj", "zhzp", "pwwjj"}) fs::create_directories(work / sub);
        song = dir / "song.mp3";
        ok = Run(
            "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:sample_rate=44100:duration=60 "
            "-ac 2 -b:a 192k \"" +
            song.string() + "\"");
        for (int k = 1; ok && k <= kPhotos; ++k) {
            const std::string photo = (work / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg")).string();
            ok =
                Run("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=1600x1200 -frames:v 1 "
                    "-vf hue=h=" +
                    std::to_string(k * 60) + " -q:v 3 \"" + photo + "\"");
        }
        const fs::path movie = fs::path(VELMORA_DATA_OUT) / "template-movies" / "kenburns.swf";
        std::error_code ec;
        for (const char* copy : {"zhzp1.swf", "zhzp2.swf"})
            fs::copy_file(movie, work / "zhzp" / copy, fs::copy_options::overwrite_existing, ec);
        ok = ok && !ec;
    }
    ~Album()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Album& TheAlbum()
{
    static Album album;
    return album;
}

long PeakKilobytes(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The one-minute load average, as /proc/loadavg gives it.
double LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    double load = -1;
    in >> load;
    return load;
}

int Pairs()
{
    const char* text = std::getenv("VELMORA_BENCH_PAIRS");
    return std::max(5, text ? std::atoi(text) : 5);
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Context switches of every thread of the process: each is a thread that
// slept and was woken, or was pushed off its core.
double ContextSwitches()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_nvcsw + usage.ru_nivcsw);
}

// One run's figures.
struct Figures {
    double wall = 0, cpu = 0, load = 0, peakMegabytes = 0, switches = 0;
};

// The peak resident size since the last reset, from /proc/self/status.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
double PeakMegabytesSinceReset()
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return 0;
}

// Production as the main window hands it over; the wall time of the modal
// run, from the set-up to the close.
Figures ProduceWithVelmora(const Album& album, const char* quality, const fs::path& out, bool* completed,
                           bool photosAhead = true)
{
    core::TestApplication app;  // the start's one-second wait passes on a virtual clock
    Form17 = CreateForm<TForm17>();
    Form17->Edit1->SetText(quality);
    frmMain = CreateForm<TfrmMain>();

    production::AlbumProject project;
    project.WorkDir = album.work.string() + "/";
    project.SyncMode = "zhaopiansuiyinyue";
    project.OutputFormat = "DVD";
    project.TvSystem = "PAL";
    project.MusicSeconds = kSeconds;
    project.Music = {{album.song.string(), "01:00", kSeconds}};
    project.LyricFileCount = 1;
    project.SlotsPerFill = 3;
    project.LoadLyrics = [](std::size_t) {
        production::LyricIndex lyrics;
        for (int s = 0; s < 60; s += 4)
            lyrics.push_back({(s < 10 ? "00:0" : "00:") + std::to_string(s) + ".00",
                              "第 " + std::to_string(s) + " 秒的歌词"});
        return lyrics;
    };
    for (int slot = 1; slot <= 3; ++slot)
        fs::copy_file(album.work / "zpyjj" / ("zpyjj" + std::to_string(slot) + ".jpg"),
                      album.work / "zhzp" / ("tupian" + std::to_string(slot) + ".jpg"),
                      fs::copy_options::overwrite_existing);

    frmMain->SetProject(project);
    frmMain->SetPhotosAhead(photosAhead);
    frmMain->edVideoOut->SetText(out.string());
    frmMain->edAudioOut->SetText(out.string());
    frmMain->kivProgressBar1->SetMax(kFrames);
    frmMain->Timer1->SetEnabled(true);
    frmMain->Timer2->SetEnabled(true);
    Figures figures;
    figures.load = LoadAverage();
    ResetPeakMemory();
    const double cpu = CpuSeconds(RUSAGE_SELF);
    const double switches = ContextSwitches();
    const auto start = std::chrono::steady_clock::now();
    frmMain->ShowModal();
    figures.switches = ContextSwitches() - switches;
    figures.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.cpu = CpuSeconds(RUSAGE_SELF) - cpu;
    figures.peakMegabytes = PeakMegabytesSinceReset();
    *completed = frmMain->Outcome().ShowsCompletionForm();
    if (!*completed) std::printf("velmora: %s\n", frmMain->Outcome().text.c_str());
    return figures;
}

// The ffmpeg slideshow: each photo zooms for 12 s; /usr/bin/time measures
// the peak memory and the CPU time of ffmpeg itself (a child of ours would
// count our pages).
Figures SlideshowWithFfmpeg(const Album& album, const fs::path& out, double* peakMegabytes)
{
    const fs::path memory = album.dir / "ffmpeg-peak.txt";
    std::string command = "/usr/bin/time -f '%M %U %S' -o \"";
    command += memory.string();
    command += "\" ffmpeg -nostdin -loglevel error -y";
    for (int k = 1; k <= kPhotos; ++k) {
        command += " -i \"";
        command += (album.work / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg")).string();
        command += "\"";
    }
    command += " -i \"";
    command += album.song.string();
    command += "\" -filter_complex \"";
    std::string inputs;
    for (int k = 0; k < kPhotos; ++k) {
        const std::string n = std::to_string(k);
        command += "[";
        command += n;
        command +=
            ":v]scale=1440:1080,zoompan=z='min(zoom+0.0012,1.4)':d=300:"
            "x='iw/2-(iw/zoom/2)':y='ih/2-(ih/zoom/2)':s=720x576:fps=25[v";
        command += n;
        command += "];";
        inputs += "[v";
        inputs += n;
        inputs += "]";
    }
    command += inputs;
    command += "concat=n=5:v=1:a=0[v]\" -map \"[v]\" -map 5:a -t 60 -target pal-dvd \"";
    command += out.string();
    command += "\"";
    Figures figures;
    figures.load = LoadAverage();
    const auto start = std::chrono::steady_clock::now();
    if (!Run(command)) {
        figures.wall = -1;
        return figures;
    }
    figures.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ifstream peak(memory);
    long kilobytes = 0;
    double user = 0, system = 0;
    peak >> kilobytes >> user >> system;
    figures.cpu = user + system;
    *peakMegabytes = std::max(*peakMegabytes, kilobytes / 1024.0);
    return figures;
}

void Album60s(benchmark::State& state, const char* quality)
{
    Album& album = TheAlbum();
    if (!album.ok) {
        state.SkipWithError("ffmpeg could not make the album's material");
        return;
    }
    const fs::path ours = album.dir / "velmora.mpg", theirs = album.dir / "ffmpeg.mpg";
    const int pairs = Pairs();
    std::vector<double> ourWall, ourCpu, theirWall, theirCpu, ourLoad, theirLoad, ourSwitches;
    double ffmpegPeak = 0;
    for (auto _ : state) {
        for (int pair = 0; pair < pairs; ++pair) {
            bool completed = false;
            std::error_code ec;
            fs::remove(ours, ec);  // production keeps no file over an old one
            // In turn, so that a change in the machine's load falls on both.
            const Figures velmora = ProduceWithVelmora(album, quality, ours, &completed);
            const Figures ffmpeg = SlideshowWithFfmpeg(album, theirs, &ffmpegPeak);
            if (!completed || ffmpeg.wall < 0) {
                state.SkipWithError("a production failed");
                return;
            }
            std::printf(
                "%s pair %d: velmora %.2f s wall %.2f s CPU %.2f ms CPU/frame %.1f switches/frame (load "
                "%.2f), "
                "ffmpeg %.2f s wall %.2f s CPU %.2f ms CPU/frame (load %.2f)\n",
                quality, pair + 1, velmora.wall, velmora.cpu, 1000 * velmora.cpu / kFrames,
                velmora.switches / kFrames, velmora.load, ffmpeg.wall, ffmpeg.cpu,
                1000 * ffmpeg.cpu / kFrames, ffmpeg.load);
            std::fflush(stdout);
            ourWall.push_back(velmora.wall);
            ourCpu.push_back(velmora.cpu);
            ourLoad.push_back(velmora.load);
            ourSwitches.push_back(velmora.switches);
            theirWall.push_back(ffmpeg.wall);
            theirCpu.push_back(ffmpeg.cpu);
            theirLoad.push_back(ffmpeg.load);
        }
        state.SetIterationTime(Median(ourWall));
    }
    state.counters["pairs"] = pairs;
    state.counters["velmora_s"] = Median(ourWall);
    state.counters["velmora_cpu_s"] = Median(ourCpu);
    state.counters["velmora_cpu_ms_per_frame"] = 1000 * Median(ourCpu) / kFrames;
    state.counters["velmora_wall_ms_per_frame"] = 1000 * Median(ourWall) / kFrames;
    state.counters["velmora_load"] = Median(ourLoad);
    state.counters["velmora_switches_per_frame"] = Median(ourSwitches) / kFrames;
    state.counters["ffmpeg_s"] = Median(theirWall);
    state.counters["ffmpeg_cpu_s"] = Median(theirCpu);
    state.counters["ffmpeg_cpu_ms_per_frame"] = 1000 * Median(theirCpu) / kFrames;
    state.counters["ffmpeg_load"] = Median(theirLoad);
    // Targets at 704 x 576: wall at most 0.55, CPU at most 1.1; at 1408 x
    // 1152: wall at most 0.9, CPU at most 2.5.
    state.counters["ratio"] = Median(ourWall) / Median(theirWall);
    state.counters["cpu_ratio"] = Median(ourCpu) / Median(theirCpu);
    // On the real clock the start timer adds its fixed second before the
    // conversion begins.
    state.counters["with_start_wait_s"] = Median(ourWall) + 1.0;
    state.counters["velmora_peak_MB"] = PeakKilobytes(RUSAGE_SELF) / 1024.0;  // target: at most 250
    state.counters["ffmpeg_peak_MB"] = ffmpegPeak;
    state.counters["duration_s"] = MclProbeDuration(ours.string().c_str());
    if (const char* keep = std::getenv("VELMORA_BENCH_KEEP")) {
        std::error_code ec;
        fs::copy_file(ours, fs::path(keep) / (std::string(quality) + ".mpg"),
                      fs::copy_options::overwrite_existing, ec);
    }
}

// Photos decoded ahead against photos decoded at each load point, in turn
// in one run (the order swapped every pair). Each run's peak memory also
// counts what the runs before it left resident: the process's own peak is
// that of BM_Album60sDvd* run alone.
void PhotosAhead(benchmark::State& state, const char* quality)
{
    Album& album = TheAlbum();
    if (!album.ok) {
        state.SkipWithError("ffmpeg could not make the album's material");
        return;
    }
    const fs::path out = album.dir / "velmora.mpg";
    const int pairs = Pairs();
    std::vector<double> wall[2], cpu[2], load[2], peak[2];
    for (auto _ : state) {
        for (int pair = 0; pair < pairs; ++pair) {
            for (int turn = 0; turn < 2; ++turn) {
                const bool ahead = (pair + turn) % 2 == 1;
                bool completed = false;
                std::error_code ec;
                fs::remove(out, ec);
                const Figures run = ProduceWithVelmora(album, quality, out, &completed, ahead);
                if (!completed) {
                    state.SkipWithError("a production failed");
                    return;
                }
                std::printf("%s pair %d: photos %s %.2f s wall %.2f s CPU %.0f MB peak (load %.2f)\n",
                            quality, pair + 1, ahead ? "ahead   " : "in place", run.wall, run.cpu,
                            run.peakMegabytes, run.load);
                std::fflush(stdout);
                wall[ahead].push_back(run.wall);
                cpu[ahead].push_back(run.cpu);
                load[ahead].push_back(run.load);
                peak[ahead].push_back(run.peakMegabytes);
            }
        }
        state.SetIterationTime(Median(wall[1]));
    }
    state.counters["pairs"] = pairs;
    for (int ahead = 0; ahead < 2; ++ahead) {
        const std::string name = ahead ? "ahead_" : "in_place_";
        state.counters[name + "s"] = Median(wall[ahead]);
        state.counters[name + "cpu_s"] = Median(cpu[ahead]);
        state.counters[name + "load"] = Median(load[ahead]);
        state.counters[name + "peak_MB"] = *std::max_element(peak[ahead].begin(), peak[ahead].end());
    }
    state.counters["ratio"] = Median(wall[1]) / Median(wall[0]);
}

void BM_Album60sDvd704(benchmark::State& state) { Album60s(state, "gao_qing_xi"); }
void BM_Album60sDvd1408(benchmark::State& state) { Album60s(state, "chao_gao_qing_xi"); }
BENCHMARK(BM_Album60sDvd704)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_Album60sDvd1408)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_PhotosAhead704(benchmark::State& state) { PhotosAhead(state, "gao_qing_xi"); }
void BM_PhotosAhead1408(benchmark::State& state) { PhotosAhead(state, "chao_gao_qing_xi"); }
BENCHMARK(BM_PhotosAhead704)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PhotosAhead1408)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
