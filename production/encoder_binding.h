// The production side of the encoder library: one conversion run, calling
// libmcl in its fixed order and routing its callbacks, all on the calling
// thread, to the production form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "mcl/mcl.h"

namespace production {

// An error as the encoder library reports it: its code, the errno and the
// file behind it, and its own text.
struct EncoderError {
    int32_t code = 0;
    int32_t systemCode = 0;
    std::string file;
    std::string text;
};

// What the form does inside a run. Every call comes on the thread that called
// EncoderSession::Run, from inside the conversion.
class EncoderClient {
public:
    virtual ~EncoderClient() = default;
    // The encoder wants timeline frame `frame`, which it takes from video
    // entry `entry` (the frame producer's VideoFrameProc).
    virtual void VideoFrame(int64_t frame, int32_t entry) = 0;
    // Every progress report, after its log line.
    virtual void Progress(int /*code*/, int64_t /*frame*/, int64_t /*sample*/) {}
    // A status line for the log.
    virtual void Log(const std::string& line) = 0;
    // The line of an encoder error.
    virtual void LogError(const std::string& line) { Log(line); }
    // An input error the conversion goes on over, before its line.
    virtual void InputError(const EncoderError& /*error*/) {}
    // Lets the message loop run while the lists are handed over.
    virtual void PumpMessages() {}
    // A stop while the lists were handed over: the conversion doesn't start.
    virtual bool Cancelled() const { return false; }
};

struct EncoderJob {
    std::vector<std::string> videoNames, audioNames;
    // Each audio name's length as the music list measured it (missing or
    // 0: unknown); a song that ends well short of it is an input error.
    std::vector<double> audioSeconds;
    // The audio names from this one on are the music list's songs (before
    // it: the opening title); their errors are told in the songs' words.
    std::size_t firstSong = 0;
    std::string videoOut, audioOut;
    std::string outputFormat;  // a key of kOutputFormats (production/output_formats.h)
    std::string tvSystem;      // "PAL", "NTSC"
    bool keepDuration = true;
};

struct EncoderRunResult {
    int64_t videoFrameTotal = 0;
    int64_t audioSampleTotal = 0;
    bool converted = false;  // false: nothing to convert, or cancelled first
    bool cancelled = false;  // stopped before the conversion began
    int32_t error = 0;       // MclGetError after the conversion
    std::string errorText;
    EncoderError failure;  // all of it
};

class EncoderSession {
public:
    explicit EncoderSession(EncoderClient& client) : client_(client) {}
    EncoderSession(const EncoderSession&) = delete;
    EncoderSession& operator=(const EncoderSession&) = delete;

    // Creates the converter, hands over the lists and settings, converts,
    // logs the totals, the start, the end and any error, and frees it all.
    EncoderRunResult Run(const EncoderJob& job);
    // Stops the running conversion at the next frame boundary (also from
    // inside VideoFrame); nothing when no run is going on.
    void Abort();
    bool Running() const { return converter_ != nullptr; }

private:
    friend struct EncoderCallbacks;
    std::string TimeText(double seconds) const;

    EncoderClient& client_;
    MclConverter* converter_ = nullptr;
    MclList* videoList_ = nullptr;
    MclList* audioList_ = nullptr;
    std::vector<double> audioSeconds_;
    std::size_t firstSong_ = 0;
    int64_t videoFrameTotal_ = 0, audioSampleTotal_ = 0;
};

}  // namespace production
