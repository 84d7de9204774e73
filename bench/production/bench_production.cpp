// A 60-second album (1500 frames, DVD PAL, music and lyrics) produced by the
// production form against the slideshow a Linux user would make with the
// ffmpeg command line (five photos with zoompan, a song, -target pal-dvd),
// side by side in one run: wall time and peak memory of each.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "mcl/mcl.h"
#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/edit.h"
#include "production/form17.h"
#include "production/frm_main.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_radio_button.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSeconds = 60.0;
constexpr int kPhotos = 5;

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

// Production as the main window hands it over; the wall time of the modal
// run, from the set-up to the close.
double ProduceWithVelmora(const Album& album, const char* quality, const fs::path& out, bool* completed)
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
    frmMain->edVideoOut->SetText(out.string());
    frmMain->edAudioOut->SetText(out.string());
    frmMain->kivProgressBar1->SetMax(1500);
    frmMain->Timer1->SetEnabled(true);
    frmMain->Timer2->SetEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    frmMain->ShowModal();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    *completed = frmMain->Outcome().ShowsCompletionForm();
    return seconds;
}

// The ffmpeg slideshow: each photo zooms for 12 s; /usr/bin/time measures
// the peak memory of ffmpeg itself (a child of ours would count our pages).
double SlideshowWithFfmpeg(const Album& album, const fs::path& out, double* peakMegabytes)
{
    const fs::path memory = album.dir / "ffmpeg-peak.txt";
    std::string command = "/usr/bin/time -f %M -o \"";
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
    const auto start = std::chrono::steady_clock::now();
    if (!Run(command)) return -1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ifstream peak(memory);
    long kilobytes = 0;
    peak >> kilobytes;
    *peakMegabytes = kilobytes / 1024.0;
    return seconds;
}

void Album60s(benchmark::State& state, const char* quality)
{
    Album& album = TheAlbum();
    if (!album.ok) {
        state.SkipWithError("ffmpeg could not make the album's material");
        return;
    }
    const fs::path ours = album.dir / "velmora.mpg", theirs = album.dir / "ffmpeg.mpg";
    double ffmpegSeconds = 0, velmoraSeconds = 0, ffmpegPeak = 0;
    for (auto _ : state) {
        bool completed = false;
        velmoraSeconds = ProduceWithVelmora(album, quality, ours, &completed);
        ffmpegSeconds = SlideshowWithFfmpeg(album, theirs, &ffmpegPeak);
        if (!completed || ffmpegSeconds < 0) {
            state.SkipWithError("a production failed");
            return;
        }
        state.SetIterationTime(velmoraSeconds);
    }
    state.counters["ffmpeg_s"] = ffmpegSeconds;
    state.counters["ratio"] = velmoraSeconds / ffmpegSeconds;  // target: at most 1
    // On the real clock the start timer adds its fixed second before the
    // conversion begins.
    state.counters["with_start_wait_s"] = velmoraSeconds + 1.0;
    state.counters["velmora_peak_MB"] = PeakKilobytes(RUSAGE_SELF) / 1024.0;  // target: at most 250
    state.counters["ffmpeg_peak_MB"] = ffmpegPeak;
    state.counters["duration_s"] = MclProbeDuration(ours.string().c_str());
}

void BM_Album60sDvd704(benchmark::State& state) { Album60s(state, "gao_qing_xi"); }
void BM_Album60sDvd1408(benchmark::State& state) { Album60s(state, "chao_gao_qing_xi"); }
BENCHMARK(BM_Album60sDvd704)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_Album60sDvd1408)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
