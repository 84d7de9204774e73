#include "platform/media/pipeline.h"

#include <chrono>

namespace media {

namespace {
constexpr size_t kSoundCapacity = kOutputRate * 4;  // frames
constexpr size_t kSoundTarget = kOutputRate / 2;    // decode ahead this much
constexpr size_t kPictureTarget = 8;
// A badly interleaved file may need many pictures decoded before the next
// sound arrives; past this the newest are dropped instead of using memory.
constexpr size_t kPictureLimit = 64;
}  // namespace

Pipeline::Pipeline(const std::filesystem::path& path, Mode mode) : sound_(kSoundCapacity), mode_(mode)
{
    ok_ = decoder_.Open(path, &cancel_, error_);
    if (!ok_) return;
    has_audio_ = decoder_.HasAudio();
    has_video_ = decoder_.HasVideo();
    if (mode_ == Mode::Threaded) worker_ = std::thread([this] { Run(); });
}

Pipeline::~Pipeline()
{
    cancel_ = true;
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool Pipeline::NeedsMore() const
{
    if (decoder_done_) return false;
    return (has_audio_ && sound_.Buffered() < kSoundTarget) ||
           (has_video_ && pictures_.size() < kPictureTarget);
}

bool Pipeline::StepOnce()
{
    sample_scratch_.clear();
    picture_scratch_.clear();
    const bool more = decoder_.Step(sample_scratch_, picture_scratch_);
    if (!sample_scratch_.empty())
        sound_.Push(sample_scratch_.data(), sample_scratch_.size() / kOutputChannels);
    std::lock_guard lock(mutex_);
    for (VideoFrame& picture : picture_scratch_)
        if (pictures_.size() < kPictureLimit) pictures_.push_back(std::move(picture));
    if (!more) {
        decoder_done_ = true;
        decode_error_ = decoder_.Error();
    }
    return more;
}

void Pipeline::Run()
{
    while (!cancel_) {
        {
            std::unique_lock lock(mutex_);
            // The sound FIFO drains on the device thread, which does not
            // signal; a short poll notices it.
            wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return cancel_ || NeedsMore(); });
            if (cancel_ || decoder_done_) {
                if (decoder_done_) return;
                continue;
            }
            if (!NeedsMore()) continue;
        }
        if (!StepOnce()) return;
    }
}

void Pipeline::DecodeUntil(double time)
{
    if (mode_ != Mode::Stepped || !ok_) return;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (decoder_done_) return;
            if (has_video_) {
                if (!pictures_.empty() && pictures_.back().time > time) return;
                if (pictures_.size() >= kPictureLimit) return;
            } else if (sound_.Buffered() >= kSoundTarget) {
                return;
            }
        }
        if (!StepOnce()) return;
    }
}

std::optional<VideoFrame> Pipeline::TakeFrameAt(double time)
{
    std::optional<VideoFrame> latest;
    {
        std::lock_guard lock(mutex_);
        while (!pictures_.empty() && pictures_.front().time <= time) {
            latest = std::move(pictures_.front());
            pictures_.pop_front();
        }
    }
    if (latest) wake_.notify_all();
    return latest;
}

bool Pipeline::Exhausted() const
{
    std::lock_guard lock(mutex_);
    return decoder_done_ && pictures_.empty();
}

std::string Pipeline::DecodeError() const
{
    std::lock_guard lock(mutex_);
    return decode_error_;
}

}  // namespace media
