#pragma once

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "HttpMessage.hpp"

// Run submissions waiting a moment for their run's verdict, so that most are
// answered with it and not just "queued". Each is answered exactly once: with
// the verdict when it comes in time, else with the answer it was given to
// fall back on. Verdicts that came before anyone waited are remembered a
// little while, for a submission whose run was verified the instant it was
// queued.
class VerdictWaiters {
  public:
    using Answer = std::function<void(const HttpResponse&)>;

    // Timers run on `executor`.
    explicit VerdictWaiters(boost::asio::any_io_executor executor) : executor(executor) {}

    // Answers with run `id`'s verdict once it is known, or with `fallback`
    // after `patience`.
    void wait(std::int64_t id, std::chrono::milliseconds patience, HttpResponse fallback,
              Answer answer);
    // Run `id` has its verdict: whoever waits for it gets it.
    void verdict(std::int64_t id, const HttpResponse& response);
    // Everyone waiting gets their fallback now (the server stops), and nobody
    // waits from now on.
    void answerEveryone();

  private:
    struct Waiter {
        std::int64_t id;
        HttpResponse fallback;
        Answer answer;
        std::shared_ptr<boost::asio::steady_timer> timer;
    };

    // Takes the waiter out, or nothing when it was answered already.
    std::optional<Waiter> take(std::uint64_t token);

    boost::asio::any_io_executor executor;
    std::mutex mutex;
    std::map<std::uint64_t, Waiter> waiters;
    std::uint64_t nextToken = 0;
    std::deque<std::pair<std::int64_t, HttpResponse>> recent;
    bool closed = false;
};
