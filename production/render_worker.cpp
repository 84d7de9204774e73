#include "production/render_worker.h"

#include <utility>

namespace production {

RenderWorker::~RenderWorker()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void RenderWorker::Start(std::function<void()> job)
{
    {
        std::lock_guard lock(mutex_);
        job_ = std::move(job);
        busy_ = true;
    }
    if (!thread_.joinable()) thread_ = std::thread([this] { Work(); });
    changed_.notify_all();
}

void RenderWorker::Wait()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !busy_; });
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

void RenderWorker::Work()
{
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [&] { return quit_ || (busy_ && job_); });
        if (quit_) return;  // a job given is always waited for before the end
        std::function<void()> job = std::move(job_);
        job_ = nullptr;
        lock.unlock();
        std::exception_ptr error;
        try {
            job();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        error_ = error;
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace production
