#include "platform/flash/render_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace flash {

namespace {

class Pool {
public:
    Pool()
    {
        int n = ParallelWidth() - 1;
        for (int i = 0; i < n; ++i) workers_.emplace_back([this] { Work(); });
    }
    ~Pool()
    {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        for (auto& t : workers_) t.join();
    }

    void Run(int parts, const std::function<void(int)>& job)
    {
        if (workers_.empty() || parts <= 1) {
            for (int i = 0; i < parts; ++i) job(i);
            return;
        }
        auto batch = std::make_shared<Batch>();
        batch->job = &job;
        batch->parts = parts;
        batch->pending = parts;
        {
            std::lock_guard lock(mutex_);
            current_ = batch;
            ++generation_;
        }
        wake_.notify_all();
        Drain(*batch);
        std::unique_lock lock(batch->mutex);
        batch->done.wait(lock, [&] { return batch->pending == 0; });
    }

private:
    // One call of Run. A worker that wakes late finds every part taken.
    struct Batch {
        const std::function<void(int)>* job = nullptr;
        int parts = 0;
        std::atomic<int> next{0};
        std::mutex mutex;
        std::condition_variable done;
        int pending = 0;
    };

    static void Drain(Batch& batch)
    {
        while (true) {
            int part = batch.next.fetch_add(1);
            if (part >= batch.parts) return;
            (*batch.job)(part);
            std::lock_guard lock(batch.mutex);
            if (--batch.pending == 0) batch.done.notify_all();
        }
    }
    void Work()
    {
        unsigned seen = 0;
        while (true) {
            std::shared_ptr<Batch> batch;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
                if (quit_) return;
                seen = generation_;
                batch = current_;
            }
            if (batch) Drain(*batch);
        }
    }

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<Batch> current_;
    unsigned generation_ = 0;
    bool quit_ = false;
};

}  // namespace

int RenderWidth(int cores) { return std::clamp(cores, 1, 8); }

int ParallelWidth() { return RenderWidth(static_cast<int>(std::thread::hardware_concurrency())); }

void RunParallel(int parts, const std::function<void(int part)>& job)
{
    static Pool pool;
    pool.Run(parts, job);
}

}  // namespace flash
