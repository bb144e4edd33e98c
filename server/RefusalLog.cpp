#include "RefusalLog.hpp"

namespace {

constexpr std::chrono::seconds kSecond{1};
// Sweeping is linear in the table, so it runs at most this often.
constexpr std::chrono::seconds kSweepEvery{10};

}  // namespace

bool RefusalLog::admit(const std::string& client, int status, Clock::time_point now) {
    if (now >= nextSweep) {
        forgetQuiet(now);
        nextSweep = now + kSweepEvery;
    }
    auto [entry, added] = clients.try_emplace(client, Second{now, 0, {}});
    Second& second = entry->second;
    if (!added && now - second.start >= kSecond && second.counted.empty()) {
        second = Second{now, 0, {}};
    }
    if (second.written < kLinesPerSecond) {
        ++second.written;
        return true;
    }
    ++second.counted[status];
    return false;
}

std::vector<std::string> RefusalLog::summaries(Clock::time_point now) {
    std::vector<std::string> lines;
    for (auto entry = clients.begin(); entry != clients.end();) {
        Second& second = entry->second;
        if (now - second.start < kSecond) {
            ++entry;
            continue;
        }
        if (!second.counted.empty()) {
            long total = 0;
            std::string statuses;
            for (const auto& [status, count] : second.counted) {
                total += count;
                statuses += " " + std::to_string(count) + " x " + std::to_string(status);
            }
            lines.push_back(entry->first + " " + std::to_string(total) +
                            " more refusals in the last second, not logged one by one:" + statuses);
        }
        entry = clients.erase(entry);
    }
    return lines;
}

void RefusalLog::forgetQuiet(Clock::time_point now) {
    std::erase_if(clients, [&](const auto& entry) {
        return entry.second.counted.empty() && now - entry.second.start >= kSecond;
    });
}
