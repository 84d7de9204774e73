#include "mcl/encode_pipeline.h"

#include "mcl/mcl.h"
#include "mcl/presets.h"

namespace mcl {

EncodePipeline::EncodePipeline(OutputFile& output, size_t depth)
    : output_(output),
      depth_(depth),
      pictures_(output.Width(), output.Height()),
      converter_([this] { Convert(); }),
      encoder_([this] { Encode(); })
{}

EncodePipeline::~EncodePipeline() { Finish(); }

bool EncodePipeline::NeedsConversion(const Task& task) const
{
    if (!task.video || task.count <= 0) return false;
    const AVFrame* f = task.frame.get();
    return f->format != AV_PIX_FMT_YUV420P || f->width != output_.Width() || f->height != output_.Height();
}

void EncodePipeline::Push(Task task)
{
    const bool convert = NeedsConversion(task);
    if (task.video && !convert && task.frame)
        task.frame->sample_aspect_ratio = FourByThreeAspect(output_.Width(), output_.Height());
    std::unique_lock lock(mutex_);
    // What needs no conversion passes the converting worker by when nothing
    // waits there before it: no wake-up of a thread with nothing to do.
    const bool direct = !convert && incoming_.empty() && !converting_;
    std::deque<Task>& queue = direct ? converted_ : incoming_;
    (direct ? convertedRoom_ : incomingRoom_).wait(lock, [&] {
        return queue.size() < depth_ || !failure_.ok();
    });
    if (!failure_.ok() || closing_) return;
    // the worker may have taken or delivered a task meanwhile
    if (direct && (!incoming_.empty() || converting_)) {
        incoming_.push_back(std::move(task));
        incomingReady_.notify_one();
        return;
    }
    queue.push_back(std::move(task));
    (direct ? convertedReady_ : incomingReady_).notify_one();
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
    incomingReady_.notify_all();
    convertedReady_.notify_all();
    incomingRoom_.notify_all();
    convertedRoom_.notify_all();
}

Status EncodePipeline::ConvertPicture(Task& task)
{
    const int width = output_.Width(), height = output_.Height();
    AVFrame* picture = task.frame.get();
    if (!NeedsConversion(task)) return {};  // given its aspect when pushed
    if (const RgbPicture rgb = RgbOf(picture); ConvertsFast(rgb, width, height)) {
        Frame out = pictures_.Get();
        if (!out) return Status{MCL_ERROR_ENCODER, "Out of memory"};
        ConvertToYuv420(rgb, out.get());
        out->sample_aspect_ratio = FourByThreeAspect(width, height);
        task.frame = std::move(out);
        return {};
    }
    Frame scaled;
    Status s = output_.ScaleVideo(picture, &scaled);
    task.frame = std::move(scaled);
    return s;
}

void EncodePipeline::Convert()
{
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            incomingReady_.wait(lock, [&] { return !incoming_.empty() || closing_; });
            if (incoming_.empty()) {
                converterDone_ = true;
                convertedReady_.notify_all();
                return;
            }
            task = std::move(incoming_.front());
            incoming_.pop_front();
            converting_ = true;
            incomingRoom_.notify_one();
            if (!failure_.ok()) {
                converting_ = false;
                continue;
            }
        }
        Status s = task.video && task.count > 0 ? ConvertPicture(task) : Status{};
        std::unique_lock lock(mutex_);
        if (!s.ok()) {
            converting_ = false;
            Fail(std::move(s));
            continue;
        }
        convertedRoom_.wait(lock, [&] { return converted_.size() < depth_ || !failure_.ok(); });
        converting_ = false;
        if (!failure_.ok()) continue;
        converted_.push_back(std::move(task));
        convertedReady_.notify_one();
    }
}

void EncodePipeline::Encode()
{
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            convertedReady_.wait(lock, [&] { return !converted_.empty() || converterDone_; });
            if (converted_.empty()) break;
            task = std::move(converted_.front());
            converted_.pop_front();
            convertedRoom_.notify_all();
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
            incomingReady_.notify_all();
        }
        converter_.join();
        encoder_.join();
        Status s = output_.Finish();
        if (failure_.ok()) failure_ = std::move(s);
    }
    return failure_;
}

}  // namespace mcl
