#include "platform/media/audio_ring.h"

#include <algorithm>
#include <cstring>

#include "platform/media/decoder.h"

namespace media {

AudioRing::AudioRing(size_t capacity_frames)
    : data_(capacity_frames * kOutputChannels), capacity_(capacity_frames)
{}

size_t AudioRing::Push(const int16_t* data, size_t frames)
{
    std::lock_guard lock(mutex_);
    const size_t accepted = std::min(frames, capacity_ - size_);
    size_t tail = (head_ + size_) % capacity_;
    size_t done = 0;
    while (done < accepted) {
        const size_t run = std::min(accepted - done, capacity_ - tail);
        std::memcpy(&data_[tail * kOutputChannels], data + done * kOutputChannels,
                    run * kOutputChannels * sizeof(int16_t));
        done += run;
        tail = (tail + run) % capacity_;
    }
    size_ += accepted;
    return accepted;
}

size_t AudioRing::Pop(int16_t* out, size_t frames)
{
    std::lock_guard lock(mutex_);
    const size_t taken = std::min(frames, size_);
    size_t done = 0;
    while (done < taken) {
        const size_t run = std::min(taken - done, capacity_ - head_);
        std::memcpy(out + done * kOutputChannels, &data_[head_ * kOutputChannels],
                    run * kOutputChannels * sizeof(int16_t));
        done += run;
        head_ = (head_ + run) % capacity_;
    }
    size_ -= taken;
    return taken;
}

size_t AudioRing::Buffered() const
{
    std::lock_guard lock(mutex_);
    return size_;
}

void AudioRing::Clear()
{
    std::lock_guard lock(mutex_);
    head_ = size_ = 0;
}

}  // namespace media
