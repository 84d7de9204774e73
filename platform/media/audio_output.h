#pragma once
// An SDL2 audio device that plays the sound FIFO. The device thread only
// moves samples; it counts them, and that count is the audio clock.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/media/audio_ring.h"

namespace media {

class AudioOutput {
public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens a device, paused, that plays from `ring` (which must outlive
    // the device). False with `error` set when there is no audio device;
    // the first such failure of the run is noted on stderr in one line.
    bool Open(AudioRing& ring, std::string& error);
    void Close();
    bool IsOpen() const { return device_ != 0; }
    void SetPaused(bool paused);
    // Muted, the FIFO still drains at the device's pace, so the clock runs.
    void SetMuted(bool muted) { muted_ = muted; }
    // Frames taken from the FIFO since Open.
    int64_t PlayedFrames() const { return played_.load(); }

private:
    static void Callback(void* self, uint8_t* stream, int length);

    uint32_t device_ = 0;
    bool subsystem_ = false;
    AudioRing* ring_ = nullptr;
    std::atomic<bool> muted_{false};
    std::atomic<int64_t> played_{0};
};

}  // namespace media
