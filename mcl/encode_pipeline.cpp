#include "mcl/encode_pipeline.h"

namespace mcl {

EncodePipeline::EncodePipeline(OutputFile& output, size_t depth)
    : output_(output), depth_(depth), worker_([this] { Work(); })
{
}

EncodePipeline::~EncodePipeline() { Finish(); }

void EncodePipeline::Push(Task task)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return tasks_.size() < depth_ || !failure_.ok(); });
    if (!failure_.ok() || closing_) return;
    tasks_.push_back(std::move(task));
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

void EncodePipeline::Work()
{
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !tasks_.empty() || closing_; });
            if (tasks_.empty()) break;
            task = std::move(tasks_.front());
            tasks_.pop_front();
            changed_.notify_all();
            if (!failure_.ok()) continue;
        }
        Status s = task.video ? output_.WriteVideo(task.frame.get(), task.pts, task.count)
                              : output_.WriteAudio(task.frame.get());
        if (!s.ok()) {
            std::lock_guard lock(mutex_);
            if (failure_.ok()) failure_ = std::move(s);
            tasks_.clear();
            changed_.notify_all();
        }
    }
}

Status EncodePipeline::Finish()
{
    if (worker_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
            changed_.notify_all();
        }
        worker_.join();
        Status s = output_.Finish();
        if (failure_.ok()) failure_ = std::move(s);
    }
    return failure_;
}

}  // namespace mcl
