// The sound of a run, decoded and resampled on a thread of its own a bounded
// stretch ahead of the pictures. What only the run's thread may do (asking
// the source callback for a name, telling an input error and taking the
// application's answer) comes back as an event, in the order in which the
// samples were made, so that the run meets each one at the same frame as if
// it had decoded the sound itself.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "mcl/audio_input.h"
#include "mcl/ff.h"
#include "mcl/output_file.h"

namespace mcl {

class AudioFeed {
public:
    struct Event {
        enum class Kind {
            Samples,     // samples: the next samples of the sound
            Name,        // index: the audio list's entry wanted; answer with AnswerName
            InputError,  // index, status: the entry's error; answer with AnswerAction
            Failure,     // status: the sound failed; no more events
            FrameEnd,    // index, finished: the list's place after the frame's samples
        };
        Kind kind = Kind::Failure;
        Frame samples;
        int32_t index = 0;
        bool finished = false;
        Status status;
    };

    // target(k) is the number of samples the output holds after k timeline
    // frames; at most about `ahead` samples wait ready.
    AudioFeed(const AudioFormat& format, std::function<int64_t(int64_t)> target, int64_t ahead);
    AudioFeed(const AudioFeed&) = delete;
    AudioFeed& operator=(const AudioFeed&) = delete;
    // Stops the thread wherever it is.
    ~AudioFeed();

    // Blocks until the next event.
    Event Next();
    // seconds: the entry's length as the application knows it, 0: none.
    void AnswerName(std::optional<std::string> name, double seconds);
    // MCL_ACTION_ABORT ends the sound.
    void AnswerAction(int32_t action);

private:
    void Work();
    bool Produce(int64_t target);
    // Queues what the fifo holds, then the event; false when stopped.
    bool Emit(Event event);
    // Empty when stopped; else the source callback's answer, and the
    // entry's length it gave in *seconds.
    std::optional<std::optional<std::string>> AskName(int32_t index, double* seconds);
    // Empty when stopped; else the application's action.
    std::optional<int32_t> AskAction(Status status);
    void Fail(Status status);

    const AudioFormat format_;
    const std::function<int64_t(int64_t)> target_;
    const int64_t ahead_;

    // the thread's own
    AudioFifo fifo_;
    std::unique_ptr<AudioEntryReader> entry_;
    int32_t index_ = 0;
    bool finished_ = false;
    int64_t produced_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Event> events_;
    int64_t queued_ = 0;  // samples in events_
    std::optional<std::optional<std::string>> name_;
    double nameSeconds_ = 0;
    std::optional<int32_t> action_;
    bool stop_ = false, ended_ = false;
    std::thread thread_;
};

}  // namespace mcl
