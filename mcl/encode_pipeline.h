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
#include "mcl/picture_convert.h"

namespace mcl {

class EncodePipeline {
public:
    explicit EncodePipeline(OutputFile& output, size_t depth = 6);
    EncodePipeline(const EncodePipeline&) = delete;
    EncodePipeline& operator=(const EncodePipeline&) = delete;
    ~EncodePipeline();

    // Queue a picture for output frames pts .. pts + count - 1; blocks while
    // the queue is full. A 4:2:0 picture of the output's size goes to the
    // encoder as it is.
    void PushVideo(Frame picture, int64_t pts, int64_t count);
    void PushAudio(Frame samples);
    // True once a worker has failed; later pushes are dropped.
    bool Failed() const;
    // Drains the queues, finishes the file and stops the workers; the first
    // failure of the whole run.
    Status Finish();

    // Pictures of the output's size and format, for the caller's own conversions.
    PicturePool& Pictures() { return pictures_; }

private:
    struct Task {
        Frame frame;
        bool video = false;
        int64_t pts = 0, count = 0;
    };
    bool NeedsConversion(const Task& task) const;
    void Push(Task task);
    void Fail(Status status);  // mutex_ held
    void Convert();
    void Encode();
    Status ConvertPicture(Task& task);

    OutputFile& output_;
    size_t depth_;
    PicturePool pictures_;
    mutable std::mutex mutex_;
    // One condition each, so that a change wakes only the thread it concerns.
    std::condition_variable incomingReady_;   // to the converting worker
    std::condition_variable convertedReady_;  // to the encoding worker
    std::condition_variable incomingRoom_;    // to the pushing caller
    std::condition_variable convertedRoom_;   // to the converting worker, or the caller passing it by
    std::deque<Task> incoming_;               // as pushed, to the converting worker
    std::deque<Task> converted_;              // in the same order, to the encoding worker
    bool converting_ = false;                 // the converting worker holds a task
    bool closing_ = false;                    // no more pushes
    bool converterDone_ = false;              // everything pushed is converted
    Status failure_;
    std::thread converter_, encoder_;
};

}  // namespace mcl
