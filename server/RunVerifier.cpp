#include "RunVerifier.hpp"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>

#include "RouteBlob.hpp"
#include "ServerLog.hpp"
#include "online/HighscoreProtocol.hpp"
#include "sim/base/PlainDecimal.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

using namespace std::chrono_literals;

// A taken run is this server's for this long unless renewed; a server that
// died without letting go holds it no longer than that.
constexpr std::chrono::milliseconds kLease = 30s;
constexpr auto kRenewEvery = 5s;
// How often the queue is looked at for runs that came in through other
// servers, or whose lease ran out.
constexpr auto kPollEvery = 500ms;
// A run taken this often without a verdict (its server went down each time)
// is refused rather than replayed again.
constexpr int kMaxAttempts = 3;
constexpr std::size_t kReplaysPerThread = 2;
constexpr const char* kRunOfAnotherName = "run already on the board";

std::string hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    return gethostname(name, sizeof name - 1) == 0 ? name : "localhost";
}

std::string ownerName(const std::string& host) {
    std::random_device random;
    return host + "/" + std::to_string(getpid()) + "/" + std::to_string(random());
}

HttpResponse verifiedAnswer() {
    HttpResponse response;
    response.body = std::string(HighscoreProtocol::kRunVerified) + "\n";
    response.note = "verified";
    return response;
}

// The time a verified run is kept with: the race clock of its replay as the
// game sends a time, so that it equals the same finish sent as a plain
// submission, and never the time a client claimed.
float keptSeconds(const RunVerdict& verdict) {
    return decodeTime(encodeTime(verdict.raceClock));
}

}  // namespace

RunVerifier::RunVerifier(ScoreStore& store, TableCache& tables, const ServerLevels& levels,
                         VerdictWaiters& waiters, const Settings& settings)
    : store(store),
      tables(tables),
      levels(levels),
      waiters(waiters),
      settings(settings),
      owner(ownerName(hostName())),
      localPrefix(hostName() + "/"),
      turns(settings.threads, settings.niceness, levels,
            [this](const PendingRun& run, const RunVerdict& verdict) {
                {
                    std::lock_guard lock(mutex);
                    finished.push_back({run, verdict});
                }
                wakeUp.notify_one();
            }),
      coordinator([this] { coordinate(); }) {}

RunVerifier::~RunVerifier() {
    stop();
    coordinator.join();
}

void RunVerifier::wake() {
    {
        std::lock_guard lock(mutex);
        woken = true;
    }
    wakeUp.notify_one();
}

void RunVerifier::stop() {
    turns.stop();
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wakeUp.notify_one();
}

std::string RunVerifier::runText(const PendingRun& run) const {
    return "run " + std::to_string(run.id) + " name=\"" + run.claim.name + "\" " +
           levels.logText(run.claim.mode, run.claim.levelId) + " " +
           plainDecimal(run.claim.seconds) + "s from " + run.client;
}

std::int64_t RunVerifier::epochMilliseconds() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void RunVerifier::coordinate() {
    std::unique_lock lock(mutex);
    while (!stopping) {
        lock.unlock();
        recordFinished();
        renewIfDue();
        takeRuns();
        lock.lock();
        wakeUp.wait_for(lock, kPollEvery,
                        [this] { return stopping || woken || !finished.empty(); });
        woken = false;
    }
    lock.unlock();
    // Verdicts that came in are kept; the replays are stopped, and what they
    // held waits for the next server.
    recordFinished();
    if (!store.releaseRuns(owner)) {
        logLine("cannot let go of the runs under way: " + store.lastError());
    }
}

void RunVerifier::recordFinished() {
    // Those that fail to be recorded come back for the next round.
    std::deque<Finished> done;
    {
        std::lock_guard lock(mutex);
        done.swap(finished);
    }
    for (const Finished& next : done) {
        record(next);
    }
}

void RunVerifier::record(const Finished& done) {
    const RunVerdict& verdict = done.verdict;
    const VerdictOutcome outcome =
        verdict.verified
            ? store.recordVerdict(done.run, owner, keptSeconds(verdict), routeBlob(verdict.route))
            : store.recordVerdict(done.run, owner, std::nullopt, "");
    const std::string what = runText(done.run);
    switch (outcome) {
        case VerdictOutcome::Failed:
            // Still ours: the verdict is recorded again on the next round.
            logLine(what + ": cannot record its verdict: " + store.lastError());
            {
                std::lock_guard lock(mutex);
                finished.push_back(done);
            }
            return;
        case VerdictOutcome::Lost:
            logLine(what + ": taken over by another server before its verdict was recorded");
            return;
        case VerdictOutcome::RunOfAnotherName:
            logLine(what + " refused: " + kRunOfAnotherName);
            waiters.verdict(done.run.id, errorResponse(400, kRunOfAnotherName));
            return;
        case VerdictOutcome::Refused:
            logLine(what + " refused: " + boundedRefusal(verdict.reason));
            waiters.verdict(done.run.id, errorResponse(400, boundedRefusal(verdict.reason)));
            return;
        case VerdictOutcome::NewBest:
        case VerdictOutcome::Kept:
            break;
    }
    if (outcome == VerdictOutcome::NewBest) {
        tables.changed(done.run.claim.mode, done.run.claim.levelId);
    }
    logLine(what + " verified at " + plainDecimal(keptSeconds(verdict)) + "s" +
            (outcome == VerdictOutcome::NewBest ? ", new best" : ""));
    waiters.verdict(done.run.id, verifiedAnswer());
}

void RunVerifier::renewIfDue() {
    const auto now = std::chrono::steady_clock::now();
    if (now - renewedAt < kRenewEvery) {
        return;
    }
    renewedAt = now;
    const auto ids = turns.ids();
    if (!ids.empty() && !store.renewRuns(owner, ids, epochMilliseconds() + kLease.count())) {
        logLine("cannot renew the leases of the runs under way: " + store.lastError());
    }
}

void RunVerifier::takeRuns() {
    while (turns.count() < settings.maxReplays) {
        const std::int64_t now = epochMilliseconds();
        auto taken = store.takeRun(
            {owner, now, now + kLease.count(), localPrefix},
            [this](const std::vector<PendingRun>& candidates) { return choose(candidates); });
        if (!taken) {
            logLine("cannot take waiting runs: " + store.lastError());
            return;
        }
        if (taken->id == 0) {
            return;
        }
        if (taken->attempts > kMaxAttempts) {
            RunVerdict verdict;
            verdict.reason =
                "its replay stopped its server " + std::to_string(kMaxAttempts) + " times";
            record({*taken, verdict});
            continue;
        }
        turns.add(std::move(*taken));
    }
}

std::size_t RunVerifier::choose(const std::vector<PendingRun>& candidates) const {
    const auto perClient = turns.perClient();
    const bool roomForAnyone = turns.count() < kReplaysPerThread * settings.threads;
    std::size_t chosen = candidates.size();
    std::size_t fewest = SIZE_MAX;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (heldByLivingProcess(candidates[i])) {
            continue;
        }
        const auto entry = perClient.find(candidates[i].client);
        const std::size_t underWay = entry == perClient.end() ? 0 : entry->second;
        if (underWay < fewest && (roomForAnyone || underWay == 0)) {
            chosen = i;
            fewest = underWay;
        }
    }
    return chosen;
}

bool RunVerifier::heldByLivingProcess(const PendingRun& candidate) const {
    // Offered although held: a lease that has not run out, of a process of
    // this machine ("host/pid/token").
    if (candidate.takenBy.empty() || candidate.takenBy.rfind(localPrefix, 0) != 0) {
        return false;
    }
    const std::string rest = candidate.takenBy.substr(localPrefix.size());
    const pid_t pid = static_cast<pid_t>(std::atol(rest.c_str()));
    return pid > 0 && (kill(pid, 0) == 0 || errno != ESRCH);
}
