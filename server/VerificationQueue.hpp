#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Threads of their own for the long jobs (replaying submitted runs), so that a
// flood of them never holds up the workers answering table fetches and name
// checks. At most `threads` jobs run and `waiting` more wait; beyond that a
// job is turned away at once. Jobs still waiting when it is destroyed run
// first.
class VerificationQueue {
  public:
    using Job = std::function<void()>;

    VerificationQueue(std::size_t threads, std::size_t waiting);
    ~VerificationQueue();
    VerificationQueue(const VerificationQueue&) = delete;
    VerificationQueue& operator=(const VerificationQueue&) = delete;

    // False when every thread is busy and the queue is full; the job is then
    // dropped unrun.
    bool tryPost(Job job);

  private:
    void work();

    std::size_t maxWaiting;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    std::size_t idle = 0;
    bool closing = false;
    std::vector<std::thread> threads;
};
