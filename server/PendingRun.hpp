#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "online/HighscoreRequest.hpp"

// A submitted run waiting for its verdict, as the store keeps it between the
// submission and the replay: durable, so that a server killed meanwhile
// verifies it after its restart.
struct PendingRun {
    std::int64_t id = 0;
    // The client address it came from (ClientAddress::key), for the fair
    // share and the caps.
    std::string client;
    SubmissionRequest claim;
    // UTC day it arrived.
    std::string day;
    // The canonical run text (RunVerdict::canonicalRun) and its SHA-256.
    std::string run;
    std::string sha256;
    // Times a server has taken it; a run that brings its server down every
    // time must not do so for ever.
    int attempts = 0;
    // Who holds it ("" when nobody), among the candidates of a take.
    std::string takenBy;
};

// How many runs may wait: per client address, per name and in all.
struct QueueCaps {
    std::size_t perClient = 3;
    std::size_t perName = 3;
    std::size_t total = 64;
};

enum class QueueOutcome {
    Queued,
    // The same run of the same name waits already, or is on the board.
    AlreadyQueued,
    AlreadyVerified,
    // The same run is on the board under another name.
    RunOfAnotherName,
    ClientFull,
    NameFull,
    QueueFull,
    Failed,
};

struct QueueAnswer {
    QueueOutcome outcome = QueueOutcome::Failed;
    // The waiting run's id when it waits (Queued, AlreadyQueued).
    std::int64_t id = 0;
};

enum class VerdictOutcome {
    // Verified, and a best changed or did not.
    NewBest,
    Kept,
    // Verified, but the same run is on the board under another name.
    RunOfAnotherName,
    // The refusal is recorded: the run left the queue and nothing else
    // changed.
    Refused,
    // The run was no longer this server's (its lease ran out and another
    // server took it): nothing was recorded.
    Lost,
    Failed,
};

// Picks, among the runs free to take, the index of the one to take, or
// npos for none.
using RunChooser = std::function<std::size_t(const std::vector<PendingRun>&)>;

// Who may take a run, and for how long it is theirs.
struct RunLease {
    // The taking server ("host/pid/token").
    std::string owner;
    // Milliseconds since the epoch: now, and when the lease runs out unless
    // renewed.
    std::int64_t now = 0;
    std::int64_t until = 0;
    // Runs held by owners starting with this (other processes of this
    // machine) are offered too, so that `choose` may take over those of a
    // process that is gone.
    std::string localPrefix;
};

// A verified run on the board: its identity and whose it is.
struct BoardRun {
    int mode = 0;
    int levelId = 0;
    std::string name;
    // The verified time the run proved.
    double seconds = 0;
    std::string sha256;
    std::string run;
};
