#pragma once
// The sound between the decoder and the audio device: a bounded FIFO of
// interleaved 16-bit stereo frames. The device thread only pops from it.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace media {

class AudioRing {
public:
    explicit AudioRing(size_t capacity_frames);

    // Appends up to `frames` frames; returns how many fitted.
    size_t Push(const int16_t* data, size_t frames);
    // Copies up to `frames` frames out; returns how many there were.
    size_t Pop(int16_t* out, size_t frames);
    size_t Buffered() const;
    size_t Capacity() const { return capacity_; }
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<int16_t> data_;
    size_t capacity_;
    size_t head_ = 0;  // first buffered frame
    size_t size_ = 0;  // buffered frames
};

}  // namespace media
