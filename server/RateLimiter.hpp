#pragma once

#include <chrono>
#include <string>
#include <unordered_map>

// A token bucket per client address: each request takes a token, tokens come
// back at a steady rate up to a burst. Addresses whose bucket has refilled
// completely are forgotten, so the table holds only recently busy clients.
// Used from the network thread only.
class RateLimiter {
  public:
    using Clock = std::chrono::steady_clock;

    RateLimiter(int perSecond, int burst);

    // Takes a token of `address`; false when its bucket is empty.
    bool allow(const std::string& address, Clock::time_point now);

  private:
    struct Bucket {
        double tokens;
        Clock::time_point refilled;
    };

    void forgetFullBuckets(Clock::time_point now);

    double perSecond;
    double burst;
    std::unordered_map<std::string, Bucket> buckets;
    Clock::time_point nextSweep;
};
