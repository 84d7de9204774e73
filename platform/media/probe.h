#pragma once
// What the player knows about a file before it plays it: its length in
// seconds and which kinds of streams it carries. The length follows the
// same rule as the encoder library, so the album and the output agree.
#include <atomic>
#include <filesystem>
#include <string>

struct AVFormatContext;
struct AVStream;

namespace media {

struct MediaInfo {
    double duration = 0;  // seconds; 0 when unknown or unreadable
    bool has_audio = false;
    bool has_video = false;
    int width = 0, height = 0;  // of the video stream
    std::string error;          // empty when the file can be played
    bool Ok() const { return error.empty(); }
};

// A stream that a decoder can play: a known codec with sane parameters
// (FFmpeg will "detect" an MP3 stream with no sample rate in random bytes).
bool IsPlayableAudio(const AVStream* stream);
bool IsPlayableVideo(const AVStream* stream);

// The length of an opened file (after avformat_find_stream_info): the
// container's duration, unless it has none or guessed it from the bit
// rate; then every packet is read and the length is the latest packet end
// of the playable audio and video streams, less the start time. Leaves the
// read position at the end of the file.
double MeasureDuration(AVFormatContext* format, const std::atomic<bool>* cancel = nullptr);

// Opens, inspects and measures a file; never throws.
MediaInfo ProbeMedia(const std::filesystem::path& path, const std::atomic<bool>* cancel = nullptr);

}  // namespace media
