#pragma once
// One run of a file from its start: the decoder feeding the sound FIFO and
// a queue of pictures. Threaded, a worker decodes ahead of the clock; in
// stepped mode (virtual clock, tests) the caller decodes on its own thread
// exactly as far as the clock has come, so runs are repeatable.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/media/audio_ring.h"
#include "platform/media/decoder.h"

namespace media {

class Pipeline {
public:
    enum class Mode { Threaded, Stepped };

    Pipeline(const std::filesystem::path& path, Mode mode);
    ~Pipeline();  // stops and joins the worker
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // False when the file could not be opened (see Error()).
    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }
    bool HasAudio() const { return has_audio_; }
    bool HasVideo() const { return has_video_; }

    // Stepped mode: decode until a picture later than `time` is queued (or
    // enough sound is buffered when there is no picture), or the end.
    void DecodeUntil(double time);

    // Removes the pictures due by `time` and returns the latest of them.
    std::optional<VideoFrame> TakeFrameAt(double time);
    // The decoder is exhausted and every picture has been taken.
    bool Exhausted() const;
    // Why decoding stopped before the end of the file; empty while it goes
    // on and after a normal end.
    std::string DecodeError() const;

    AudioRing& Sound() { return sound_; }

private:
    void Run();
    bool NeedsMore() const;  // with mutex_ held
    bool StepOnce();

    Decoder decoder_;
    AudioRing sound_;
    bool ok_ = false, has_audio_ = false, has_video_ = false;
    std::string error_;
    Mode mode_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<VideoFrame> pictures_;
    bool decoder_done_ = false;
    std::string decode_error_;
    std::atomic<bool> cancel_{false};
    std::thread worker_;

    std::vector<int16_t> sample_scratch_;
    std::vector<VideoFrame> picture_scratch_;
};

}  // namespace media
