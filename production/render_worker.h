#pragma once
// One long-lived thread that runs one job at a time (a frame rendered
// ahead), so that each frame costs no thread start.
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace production {

class RenderWorker {
public:
    RenderWorker() = default;
    ~RenderWorker();
    RenderWorker(const RenderWorker&) = delete;
    RenderWorker& operator=(const RenderWorker&) = delete;

    // Runs job on the worker; the last job must have been waited for.
    void Start(std::function<void()> job);
    // Returns when the job started last has finished (at once when there is
    // none) and throws what it threw.
    void Wait();

private:
    void Work();

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> job_;
    bool busy_ = false;  // a job is given and not yet finished
    bool quit_ = false;
    std::exception_ptr error_;
};

}  // namespace production
