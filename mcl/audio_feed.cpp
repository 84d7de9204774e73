#include "mcl/audio_feed.h"

#include <utility>

#include "mcl/mcl.h"

namespace mcl {

AudioFeed::AudioFeed(const AudioFormat& format, std::function<int64_t(int64_t)> target, int64_t ahead)
    : format_(format), target_(std::move(target)), ahead_(ahead)
{
    fifo_.reset(av_audio_fifo_alloc(format_.sampleFormat, 2, format_.frameSize * 4));
    thread_ = std::thread([this] { Work(); });
}

AudioFeed::~AudioFeed()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

AudioFeed::Event AudioFeed::Next()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !events_.empty() || ended_; });
    if (events_.empty())
        return Event{Event::Kind::Failure, {}, 0, false, {MCL_ERROR_ENCODER, "The sound has ended"}};
    Event event = std::move(events_.front());
    events_.pop_front();
    if (event.kind == Event::Kind::Samples) {
        queued_ -= event.samples->nb_samples;
        changed_.notify_all();
    }
    return event;
}

void AudioFeed::AnswerName(std::optional<std::string> name, double seconds)
{
    {
        std::lock_guard lock(mutex_);
        name_ = std::move(name);
        nameSeconds_ = seconds;
    }
    changed_.notify_all();
}

void AudioFeed::AnswerAction(int32_t action)
{
    {
        std::lock_guard lock(mutex_);
        action_ = action;
    }
    changed_.notify_all();
}

bool AudioFeed::Emit(Event event)
{
    const int n = fifo_ ? av_audio_fifo_size(fifo_.get()) : 0;
    Frame samples;
    if (n > 0) {
        samples = NewFrame();
        if (samples) {
            samples->format = format_.sampleFormat;
            samples->sample_rate = format_.sampleRate;
            av_channel_layout_default(&samples->ch_layout, 2);
            samples->nb_samples = n;
        }
        if (!samples || av_frame_get_buffer(samples.get(), 0) < 0 ||
            av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(samples->data), n) != n)
            event =
                Event{Event::Kind::Failure, {}, 0, false, {MCL_ERROR_ENCODER, "Out of memory for the sound"}};
    }
    std::lock_guard lock(mutex_);
    if (stop_) return false;
    if (event.kind != Event::Kind::Failure && samples) {
        queued_ += n;
        events_.push_back(Event{Event::Kind::Samples, std::move(samples), 0, false, {}});
    }
    const bool failed = event.kind == Event::Kind::Failure;
    events_.push_back(std::move(event));
    changed_.notify_all();
    return !failed;
}

std::optional<std::optional<std::string>> AudioFeed::AskName(int32_t index, double* seconds)
{
    if (!Emit(Event{Event::Kind::Name, {}, index, false, {}})) return std::nullopt;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stop_ || name_; });
    if (stop_) return std::nullopt;
    std::optional<std::optional<std::string>> answer = std::move(name_);
    name_.reset();
    *seconds = nameSeconds_;
    return answer;
}

std::optional<int32_t> AudioFeed::AskAction(Status status)
{
    if (!Emit(Event{Event::Kind::InputError, {}, index_, false, std::move(status)})) return std::nullopt;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stop_ || action_; });
    if (stop_) return std::nullopt;
    return std::exchange(action_, std::nullopt);
}

void AudioFeed::Fail(Status status) { Emit(Event{Event::Kind::Failure, {}, 0, false, std::move(status)}); }

// The steps and their order are those of decoding in the run itself: each
// timeline frame's samples are made up to its target, so that damage and
// ends are met at the same frame.
bool AudioFeed::Produce(int64_t target)
{
    while (produced_ < target) {
        if (!entry_ && !finished_) {
            double seconds = 0;
            std::optional<std::optional<std::string>> name = AskName(index_, &seconds);
            if (!name) return false;
            if (!*name) {
                finished_ = true;
                continue;
            }
            auto reader = std::make_unique<AudioEntryReader>(format_);
            std::string error;
            if (!reader->Open(**name, seconds, &error)) {
                // an unreadable file has no known length: continuing leaves it out too
                std::optional<int32_t> action = AskAction({MCL_ERROR_INPUT_OPEN, error});
                if (!action || *action == MCL_ACTION_ABORT) return false;
                ++index_;
                continue;
            }
            entry_ = std::move(reader);
        }
        if (entry_) {
            int64_t added = 0;
            Status s = entry_->Read(fifo_.get(), target - produced_, &added);
            produced_ += added;
            if (s.code == MCL_ERROR_INPUT_DECODE) {
                // skipping leaves the rest of the song out; continuing goes on past the damage
                std::optional<int32_t> action = AskAction(std::move(s));
                if (!action || *action == MCL_ACTION_ABORT) return false;
                if (*action == MCL_ACTION_SKIP) {
                    entry_.reset();
                    ++index_;
                }
                continue;
            }
            if (!s.ok()) {
                Fail(std::move(s));
                return false;
            }
            if (entry_->Done()) {
                entry_.reset();
                ++index_;
            }
        } else {
            if (Status s = WriteSilence(fifo_.get(), format_, target - produced_); !s.ok()) {
                Fail(std::move(s));
                return false;
            }
            produced_ = target;
        }
    }
    return true;
}

void AudioFeed::Work()
{
    try {
        if (!fifo_) {
            Fail({MCL_ERROR_ENCODER, "Out of memory for the sound"});
        } else {
            for (int64_t frame = 1;; ++frame) {
                {
                    std::unique_lock lock(mutex_);
                    changed_.wait(lock, [&] { return stop_ || queued_ < ahead_; });
                    if (stop_) break;
                }
                if (!Produce(target_(frame))) break;
                if (!Emit(Event{Event::Kind::FrameEnd, {}, index_, finished_, {}})) break;
            }
        }
    } catch (const std::exception&) {
        Fail({MCL_ERROR_ENCODER, "Out of memory for the sound"});
    }
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

}  // namespace mcl
