#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "ReplayTurns.hpp"
#include "ScoreStore.hpp"
#include "ServerLevels.hpp"
#include "TableCache.hpp"
#include "VerdictWaiters.hpp"

// This server's share of the queue of runs waiting for their verdict. One
// thread of normal priority talks to the store: it takes waiting runs, keeps
// them its own while they replay (renewing their leases), and records each
// verdict in one transaction with the time it proves. The replays themselves
// take turns on ReplayTurns' threads.
//
// Runs are taken fairly: first those of the client addresses with the fewest
// replays under way here, oldest first. Up to two per replay thread are taken
// from anyone; beyond that only runs of a client with nothing under way here,
// up to `maxReplays`. A run held by a process of this machine that is gone
// (killed) is taken over at once; one held by another machine when its lease
// has run out.
class RunVerifier {
  public:
    struct Settings {
        std::size_t threads = 2;
        std::size_t maxReplays = 32;
        int niceness = 10;  // of the replay threads: the workers answer first
    };

    RunVerifier(ScoreStore& store, TableCache& tables, const ServerLevels& levels,
                VerdictWaiters& waiters, const Settings& settings);
    // Stops (see stop) and waits for the threads.
    ~RunVerifier();
    RunVerifier(const RunVerifier&) = delete;
    RunVerifier& operator=(const RunVerifier&) = delete;

    // A run was queued through this server: look at once.
    void wake();
    // Every replay stops at its next frame without a verdict and the runs
    // this server holds are let go of, to wait for the next server. Returns
    // at once; the destructor waits.
    void stop();

  private:
    struct Finished {
        PendingRun run;
        RunVerdict verdict;
    };

    void coordinate();
    void recordFinished();
    void record(const Finished& finished);
    void renewIfDue();
    void takeRuns();
    std::size_t choose(const std::vector<PendingRun>& candidates) const;
    bool heldByLivingProcess(const PendingRun& candidate) const;
    std::int64_t epochMilliseconds() const;
    std::string runText(const PendingRun& run) const;

    ScoreStore& store;
    TableCache& tables;
    const ServerLevels& levels;
    VerdictWaiters& waiters;
    const Settings settings;
    // "host/pid/token": whose leases are whose.
    const std::string owner;
    const std::string localPrefix;
    std::mutex mutex;
    std::condition_variable wakeUp;
    std::deque<Finished> finished;
    bool woken = false;
    bool stopping = false;
    std::chrono::steady_clock::time_point renewedAt;
    ReplayTurns turns;
    std::thread coordinator;
};
