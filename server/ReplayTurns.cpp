#include "ReplayTurns.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "online/HighscoreProtocol.hpp"

namespace {

constexpr std::chrono::milliseconds kSlice{20};
// Replays whose claims leave them this close (seconds of race clock) count as
// alike, and take turns by client.
constexpr float kClaimStep = 15.0f;

RunVerdict refusedFor(std::string reason) {
    RunVerdict verdict;
    verdict.reason = std::move(reason);
    return verdict;
}

}  // namespace

ReplayTurns::ReplayTurns(std::size_t threadCount, int niceness, const ServerLevels& levels,
                         Finished finished)
    : levels(levels), finished(std::move(finished)) {
    for (std::size_t i = 0; i < threadCount; ++i) {
        threads.emplace_back([this, niceness] {
            // Replays are background work: on a busy machine the network
            // thread, the workers and the database come first. (On Linux the
            // nice value is per thread.)
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceness);
            work();
        });
    }
}

ReplayTurns::~ReplayTurns() {
    stop();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

void ReplayTurns::add(PendingRun run) {
    {
        std::lock_guard lock(mutex);
        servedPerClient.try_emplace(run.client);
        const float claimLeft = run.claim.seconds;
        active.push_back(Active{std::move(run), nullptr, {}, claimLeft, false});
    }
    wake.notify_one();
}

void ReplayTurns::stop() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
}

std::size_t ReplayTurns::count() const {
    std::lock_guard lock(mutex);
    return active.size();
}

std::vector<std::int64_t> ReplayTurns::ids() const {
    std::lock_guard lock(mutex);
    std::vector<std::int64_t> ids;
    for (const Active& replay : active) {
        ids.push_back(replay.run.id);
    }
    return ids;
}

std::map<std::string, std::size_t> ReplayTurns::perClient() const {
    std::lock_guard lock(mutex);
    std::map<std::string, std::size_t> counts;
    for (const Active& replay : active) {
        ++counts[replay.run.client];
    }
    return counts;
}

bool ReplayTurns::comesBefore(const Active& one, const Active& other) const {
    const float oneLeft = std::floor(one.claimLeft / kClaimStep);
    const float otherLeft = std::floor(other.claimLeft / kClaimStep);
    if (oneLeft != otherLeft) {
        return oneLeft < otherLeft;
    }
    const auto oneClient = servedPerClient.at(one.run.client);
    const auto otherClient = servedPerClient.at(other.run.client);
    if (oneClient != otherClient) {
        return oneClient < otherClient;
    }
    return one.served < other.served;
}

ReplayTurns::Active* ReplayTurns::next() {
    Active* chosen = nullptr;
    for (Active& replay : active) {
        if (!replay.running && (!chosen || comesBefore(replay, *chosen))) {
            chosen = &replay;
        }
    }
    if (chosen) {
        chosen->running = true;
    }
    return chosen;
}

void ReplayTurns::work() {
    std::unique_lock lock(mutex);
    for (;;) {
        Active* turn = nullptr;
        wake.wait(lock, [&] { return stopping || (turn = next()) != nullptr; });
        if (stopping) {
            if (turn) {
                turn->running = false;
            }
            return;
        }
        lock.unlock();
        const auto start = Clock::now();
        std::optional<RunVerdict> verdict = playSlice(*turn);
        const auto served = Clock::now() - start;
        lock.lock();
        turn->running = false;
        turn->served += served;
        if (turn->replay) {
            turn->claimLeft = turn->run.claim.seconds - turn->replay->raceClock();
        }
        servedPerClient[turn->run.client] += served;
        if (!verdict || verdict->stopped) {
            wake.notify_one();
            continue;
        }
        const PendingRun run = std::move(turn->run);
        active.remove_if([&](const Active& replay) { return &replay == turn; });
        if (std::none_of(active.begin(), active.end(),
                         [&](const Active& replay) { return replay.run.client == run.client; })) {
            servedPerClient.erase(run.client);
        }
        lock.unlock();
        finished(run, *verdict);
        lock.lock();
    }
}

std::optional<RunVerdict> ReplayTurns::playSlice(Active& turn) {
    if (!turn.replay) {
        const SubmissionRequest& claim = turn.run.claim;
        const ServerLevel* level = levels.byKey(claim.mode, claim.levelId);
        if (!level) {
            return refusedFor(std::string(HighscoreProtocol::kLevelNotOnServerReason));
        }
        const auto levelBytes = levels.fileBytes(*level);
        if (!levelBytes) {
            return refusedFor("level file cannot be read");
        }
        // The route is kept with the verdict, for the web board's record page.
        turn.replay = std::make_unique<RunCheck>(turn.run.run, level->claim(claim.seconds),
                                                 *levelBytes, true);
    }
    const auto end = Clock::now() + kSlice;
    const bool decided =
        turn.replay->advance([&] { return !stopping.load() && Clock::now() < end; });
    if (!decided) {
        return std::nullopt;
    }
    return turn.replay->verdict();
}
