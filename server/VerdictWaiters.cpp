#include "VerdictWaiters.hpp"

#include <vector>

namespace {

// Verdicts remembered for submissions that start waiting after them.
constexpr std::size_t kRecentVerdicts = 256;

}  // namespace

void VerdictWaiters::wait(std::int64_t id, std::chrono::milliseconds patience,
                          HttpResponse fallback, Answer answer) {
    std::unique_lock lock(mutex);
    for (const auto& [recentId, response] : recent) {
        if (recentId == id) {
            const HttpResponse known = response;
            lock.unlock();
            answer(known);
            return;
        }
    }
    if (closed || patience.count() == 0) {
        lock.unlock();
        answer(fallback);
        return;
    }
    const std::uint64_t token = nextToken++;
    auto timer = std::make_shared<boost::asio::steady_timer>(executor, patience);
    waiters.emplace(token, Waiter{id, std::move(fallback), std::move(answer), timer});
    lock.unlock();
    timer->async_wait([this, token](const boost::system::error_code&) {
        if (auto waiter = take(token)) {
            waiter->answer(waiter->fallback);
        }
    });
}

std::optional<VerdictWaiters::Waiter> VerdictWaiters::take(std::uint64_t token) {
    std::lock_guard lock(mutex);
    const auto entry = waiters.find(token);
    if (entry == waiters.end()) {
        return std::nullopt;
    }
    Waiter waiter = std::move(entry->second);
    waiters.erase(entry);
    return waiter;
}

void VerdictWaiters::verdict(std::int64_t id, const HttpResponse& response) {
    std::vector<Waiter> answered;
    {
        std::lock_guard lock(mutex);
        recent.emplace_back(id, response);
        if (recent.size() > kRecentVerdicts) {
            recent.pop_front();
        }
        for (auto entry = waiters.begin(); entry != waiters.end();) {
            if (entry->second.id == id) {
                answered.push_back(std::move(entry->second));
                entry = waiters.erase(entry);
            } else {
                ++entry;
            }
        }
    }
    for (Waiter& waiter : answered) {
        waiter.timer->cancel();
        waiter.answer(response);
    }
}

void VerdictWaiters::answerEveryone() {
    std::map<std::uint64_t, Waiter> everyone;
    {
        std::lock_guard lock(mutex);
        closed = true;
        everyone.swap(waiters);
    }
    for (auto& [token, waiter] : everyone) {
        waiter.timer->cancel();
        waiter.answer(waiter.fallback);
    }
}
