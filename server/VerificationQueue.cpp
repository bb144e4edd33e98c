#include "VerificationQueue.hpp"

#include <sys/resource.h>
#include <unistd.h>

namespace {

// Replays are background work: on a busy machine the network thread, the
// workers and the database come first. (On Linux the nice value is per
// thread.)
constexpr int kReplayNiceness = 10;

}  // namespace

VerificationQueue::VerificationQueue(std::size_t threadCount, std::size_t waiting)
    : maxWaiting(waiting) {
    for (std::size_t i = 0; i < threadCount; ++i) {
        threads.emplace_back([this] { work(); });
    }
}

VerificationQueue::~VerificationQueue() {
    {
        std::lock_guard lock(mutex);
        closing = true;
    }
    wake.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

bool VerificationQueue::tryPost(Job job) {
    {
        std::lock_guard lock(mutex);
        // A job handed to an idle thread does not wait, so it takes no place
        // in the queue.
        if (jobs.size() >= maxWaiting + idle) {
            return false;
        }
        jobs.push_back(std::move(job));
    }
    wake.notify_one();
    return true;
}

void VerificationQueue::work() {
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kReplayNiceness);
    std::unique_lock lock(mutex);
    for (;;) {
        ++idle;
        wake.wait(lock, [this] { return closing || !jobs.empty(); });
        --idle;
        if (jobs.empty()) {
            return;
        }
        Job job = std::move(jobs.front());
        jobs.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}
