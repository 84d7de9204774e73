#include "mcl/encode_pipeline.h"

namespace mcl {

EncodePipeline::EncodePipeline(OutputFile& output, size_t depth)
    : output_(output), depth_(depth), converter_([this] { Convert(); }), encoder_([this] { Encode(); })
{}

EncodePipeline::~EncodePipeline() { Finish(); }

void EncodePipeline::Push(Task task)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return incoming_.size() < depth_ || !failure_.ok(); });
    if (!failure_.ok() || closing_) return;
    incoming_.push_back(std::move(task));
    changed_.notify_all();
}

void EncodePipeline::PushVideo(Frame picture, int64_t pts, int64_t count)
{
    Push(Task{std::move(picture), true, pts, count});
}

void EncodePipeline::PushAudio(Frame samples) { Push(Task{std::move(samples), false, 0, 0}); }

bool EncodePipeline::Failed() const
{
    std::lock_guard lock(mutex_);
    return !failure_.ok();
}

void EncodePipeline::Fail(Status status)
{
    if (failure_.ok()) failure_ = std::move(status);
    incoming_.clear();
    converted_.clear();
    changed_.notify_all();
}

void EncodePipeline::Convert()
{
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !incoming_.empty() || closing_; });
            if (incoming_.empty()) {
                converterDone_ = true;
                changed_.notify_all();
                return;
            }
            task = std::move(incoming_.front());
            incoming_.pop_front();
            changed_.notify_all();
            if (!failure_.ok()) continue;
        }
        if (task.video && task.count > 0) {
            Frame scaled;
            Status s = output_.ScaleVideo(task.frame.get(), &scaled);
            task.frame = std::move(scaled);
            if (!s.ok()) {
                std::lock_guard lock(mutex_);
                Fail(std::move(s));
                continue;
            }
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return converted_.size() < depth_ || !failure_.ok(); });
        if (!failure_.ok()) continue;
        converted_.push_back(std::move(task));
        changed_.notify_all();
    }
}

void EncodePipeline::Encode()
{
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !converted_.empty() || converterDone_; });
            if (converted_.empty()) break;
            task = std::move(converted_.front());
            converted_.pop_front();
            changed_.notify_all();
            if (!failure_.ok()) continue;
        }
        Status s = task.video ? output_.EncodeVideo(task.frame.get(), task.pts, task.count)
                              : output_.WriteAudio(task.frame.get());
        if (!s.ok()) {
            std::lock_guard lock(mutex_);
            Fail(std::move(s));
        }
    }
}

Status EncodePipeline::Finish()
{
    if (converter_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
            changed_.notify_all();
        }
        converter_.join();
        encoder_.join();
        Status s = output_.Finish();
        if (failure_.ok()) failure_ = std::move(s);
    }
    return failure_;
}

}  // namespace mcl
