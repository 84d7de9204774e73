// Encodes on worker threads so that the caller can prepare the next frame
// while the current one is being encoded: one worker converts each picture
// to the output's size and format, a second encodes and writes, so that the
// two steps of consecutive pictures overlap too. The workers never call back
// into the application; they only report the first failure.
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
    // True once a worker has failed; later pushes are dropped.
    bool Failed() const;
    // Drains the queues, finishes the file and stops the workers; the first
    // failure of the whole run.
    Status Finish();

private:
    struct Task {
        Frame frame;
        bool video = false;
        int64_t pts = 0, count = 0;
    };
    void Push(Task task);
    void Fail(Status status);  // mutex_ held
    void Convert();
    void Encode();

    OutputFile& output_;
    size_t depth_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> incoming_;   // as pushed, to the converting worker
    std::deque<Task> converted_;  // in the same order, to the encoding worker
    bool closing_ = false;        // no more pushes
    bool converterDone_ = false;  // everything pushed is converted
    Status failure_;
    std::thread converter_, encoder_;
};

}  // namespace mcl
