#include "RateLimiter.hpp"

#include <algorithm>

namespace {

// Sweeping is linear in the table, so it runs at most this often.
constexpr std::chrono::seconds kSweepEvery{10};

}  // namespace

RateLimiter::RateLimiter(int perSecond, int burst)
    : perSecond(std::max(perSecond, 1)), burst(std::max(burst, 1)) {}

bool RateLimiter::allow(const std::string& address, Clock::time_point now) {
    if (now >= nextSweep) {
        forgetFullBuckets(now);
        nextSweep = now + kSweepEvery;
    }
    auto [entry, added] = buckets.try_emplace(address, Bucket{burst, now});
    Bucket& bucket = entry->second;
    if (!added) {
        const double seconds = std::chrono::duration<double>(now - bucket.refilled).count();
        bucket.tokens = std::min(burst, bucket.tokens + seconds * perSecond);
        bucket.refilled = now;
    }
    if (bucket.tokens < 1) {
        return false;
    }
    bucket.tokens -= 1;
    return true;
}

void RateLimiter::forgetFullBuckets(Clock::time_point now) {
    std::erase_if(buckets, [&](const auto& entry) {
        const double seconds = std::chrono::duration<double>(now - entry.second.refilled).count();
        return entry.second.tokens + seconds * perSecond >= burst;
    });
}
