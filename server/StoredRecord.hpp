#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A verified best: the time, when it arrived and the run that proved it.
struct VerifiedBest {
    double seconds = 0;
    std::int64_t arrival = 0;
    std::string day;
    std::string run;
    // The identity of the run; "" for one verified before runs had one.
    std::string sha256;
    // Where the ball went in the server's replay (RouteBlob); "" for a run
    // verified before routes were kept.
    std::string route;
};

// Everything a store keeps for one name on one level, as it is kept: what a
// copy of a board must carry over to keep times, days and the order of
// arrival.
struct StoredRecord {
    int mode = 0;
    int levelId = 0;
    std::string name;
    double seconds = 0;
    // Larger is later; only the order matters.
    std::int64_t arrival = 0;
    std::string day;
    std::optional<VerifiedBest> verified;
};

// A custom level as a board knows it: its key in the tables (negative) and the
// SHA-256 of its file.
struct CustomLevelKey {
    int levelId = 0;
    std::string sha256;
};
