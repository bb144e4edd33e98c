#pragma once

#include <chrono>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

// Keeps a flood of refused requests from flooding the log: each client gets
// the first few refusals of a second written out in full; the rest of that
// second are counted and summed up in one line once it is over. Used from the
// network thread only.
class RefusalLog {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kLinesPerSecond = 5;

    // True when this refusal gets its own line; otherwise it is counted.
    bool admit(const std::string& client, int status, Clock::time_point now);
    // One line per client whose refusals were counted in a second that has
    // ended by `now`; those counts start again.
    std::vector<std::string> summaries(Clock::time_point now);
    bool anyCounted() const { return !clients.empty(); }

  private:
    struct Second {
        Clock::time_point start;
        int written = 0;
        // Refusals left out, per status.
        std::map<int, long> counted;
    };

    // Forgets clients whose second is over and who have nothing counted, so
    // the table holds only recent ones.
    void forgetQuiet(Clock::time_point now);

    std::unordered_map<std::string, Second> clients;
    Clock::time_point nextSweep;
};
