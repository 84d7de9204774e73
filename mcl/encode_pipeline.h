// Encodes on a worker thread so that the caller can prepare the next frame
// while the current one is being encoded. The worker never calls back into
// the application; it only reports its first failure.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "mcl/output_file.h"

namespace mcl {

class EncodePipeline {
public:
    explicit EncodePipeline(OutputFile& output, size_t depth = 6);
    EncodePipeline(const EncodePipeline&) = delete;
    EncodePipeline& operator=(const EncodePipeline&) = delete;
    ~EncodePipeline();

    // Queue a picture for output frames pts .. pts + count - 1; blocks while
    // the queue is full.
    void PushVideo(Frame picture, int64_t pts, int64_t count);
    void PushAudio(Frame samples);
    // True once the worker has failed; later pushes are dropped.
    bool Failed() const;
    // Drains the queue, finishes the file and stops the worker; the first
    // failure of the whole run.
    Status Finish();

private:
    struct Task {
        Frame frame;
        bool video = false;
        int64_t pts = 0, count = 0;
    };
    void Push(Task task);
    void Work();

    OutputFile& output_;
    size_t depth_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> tasks_;
    bool closing_ = false;
    Status failure_;
    std::thread worker_;
};

}  // namespace mcl
