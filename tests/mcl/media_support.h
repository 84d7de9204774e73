// Inputs made on the fly and outputs read back, for the libmcl tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "mcl/mcl.h"

namespace mcltest {

// A fresh folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// An uncompressed 24-bit bitmap of one colour.
void WriteBmp(const std::filesystem::path& path, int width, int height, Rgb colour);
// A bitmap of square tiles of random colours, the same for the same seed.
void WriteTilesBmp(const std::filesystem::path& path, int width, int height, int tile, unsigned seed);

// Runs the ffmpeg command line with these arguments; true on success.
bool RunFfmpeg(const std::string& arguments);
// A stereo sine tone.
void MakeTone(const std::filesystem::path& path, double seconds, int rate = 44100);
// A 440 Hz stereo tone as a 16-bit WAV, written without ffmpeg.
void WriteToneWav(const std::filesystem::path& path, double seconds, int rate = 44100);
// A test-pattern AVI video, with a tone when withAudio.
void MakeVideo(const std::filesystem::path& path, double seconds, int fps, bool withAudio);

struct StreamFacts {
    std::string container;  // the demuxer's name
    std::string videoCodec, audioCodec;
    uint32_t videoTag = 0;
    int width = 0, height = 0;
    double frameRate = 0;
    double displayAspect = 0;
    int sampleRate = 0, channels = 0;
    int64_t videoFrames = 0;  // decoded
    double videoSeconds = 0;  // decoded frames x frame duration
    double audioSeconds = 0;  // decoded samples / rate
    int decodeErrors = 0;
    std::vector<Rgb> frameColours;  // mean colour of each decoded frame's centre
};

// Reads a file back with libavformat and decodes every frame.
StreamFacts ReadBack(const std::filesystem::path& path, bool colours = false);

// A conversion with the callbacks routed to std::function members, run on
// the calling thread.
struct Job {
    std::vector<std::string> video, audio;
    // The audio entries' lengths as the application knows them, given with
    // their names (missing or 0: none).
    std::vector<double> audioSeconds;
    std::string output;
    int32_t presetKind = -1, tv = MCL_TV_PAL;  // -1: no preset
    bool keepDuration = true;

    std::function<void(MclConverter*, int64_t frame)> onVideo;
    std::function<void(int32_t code, int64_t frame, int64_t sample)> onProgress;
    std::function<int32_t(int32_t code)> onError;  // returns the action

    // filled by Run
    int32_t result = -1;
    int32_t lastError = 0;
    std::string lastErrorText;
    std::string errorTextInCallback;  // MclGetErrorStr inside the last error callback
    std::string errorFileInCallback;  // MclGetErrorFile there
    int32_t lastErrorSystemCode = 0;  // MclGetErrorSystemCode after the run
    std::string lastErrorFile;        // MclGetErrorFile after the run
    int64_t frameTotal = 0, sampleTotal = 0;
    std::vector<std::string> events;  // "source:i", "video:i", "progress:code:frame", "error:code", ...
    bool allOnCallerThread = true;

    // Aborts before the run when set.
    bool abortBefore = false;

    void Run();
};

}  // namespace mcltest

namespace mcltest {
// The time of the first audio sample louder than 5 % of full scale,
// -1 when there is none.
double FirstLoudSecond(const std::filesystem::path& path);
}  // namespace mcltest
