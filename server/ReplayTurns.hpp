#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "PendingRun.hpp"
#include "ServerLevels.hpp"
#include "sim/run/RunVerification.hpp"

// The replays a server has under way, taking turns on a few threads of their
// own. Each turn replays a slice of about 20 ms and goes to the replay
// closest to the end its claim allows (the claimed time less the race clock
// it has reached, in steps of 15 s), and among those to the client address
// whose replays have had the least time so far, then to its replay that has
// had the least. A replay stops a millisecond past its claim, so the claim
// bounds what is left of it: an honest run of half a minute waits for
// nobody's half-hour run, and among runs of like length a newcomer goes
// first. The threads run at a lower priority (niceness 10), so that the
// network thread, the workers and the database come first.
class ReplayTurns {
  public:
    // Called on a replay thread with each verdict.
    using Finished = std::function<void(const PendingRun& run, const RunVerdict& verdict)>;

    // `niceness`: the replay threads' nice value (0 to 19). A run is replayed
    // on the file of its level among `levels`; a run of a level this server
    // does not keep (another server sharing the store took it) is refused.
    ReplayTurns(std::size_t threads, int niceness, const ServerLevels& levels, Finished finished);
    // Stops every replay at its next frame and waits for the threads.
    ~ReplayTurns();
    ReplayTurns(const ReplayTurns&) = delete;
    ReplayTurns& operator=(const ReplayTurns&) = delete;

    // A run to replay from now on.
    void add(PendingRun run);
    // Every replay stops at its next frame, without a verdict.
    void stop();

    std::size_t count() const;
    // The ids of the runs under way, and how many each client has.
    std::vector<std::int64_t> ids() const;
    std::map<std::string, std::size_t> perClient() const;

  private:
    using Clock = std::chrono::steady_clock;
    struct Active {
        PendingRun run;
        std::unique_ptr<RunCheck> replay;  // made on its first turn
        Clock::duration served{};
        // Seconds of race clock its claim still allows.
        float claimLeft = 0.0f;
        bool running = false;
    };
    // Which of two waiting replays has the turn first.
    bool comesBefore(const Active& one, const Active& other) const;

    void work();
    // The replay whose turn it is, marked running; null when none waits.
    Active* next();
    // Plays one slice; the verdict when the replay came to one.
    std::optional<RunVerdict> playSlice(Active& active);

    const ServerLevels& levels;
    Finished finished;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::list<Active> active;
    // Replay time per client, while it has replays here.
    std::map<std::string, Clock::duration> servedPerClient;
    std::atomic<bool> stopping{false};
    std::vector<std::thread> threads;
};
