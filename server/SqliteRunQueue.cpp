// The queue of runs waiting for their verdict, in the SQLite file: the part
// of SqliteScoreStore that the verifiers of every server on this machine
// share. Each call is one transaction under SQLite's write lock, so the caps
// hold and a run is taken by one server at a time.
#include <sqlite3.h>

#include "SqliteScoreStore.hpp"
#include "SqliteStatement.hpp"

namespace {

// Runs offered to a server's choice at a time: the oldest free ones first.
constexpr int kCandidates = 64;

constexpr const char* kQueuedAlready =
    "SELECT id FROM pending_runs WHERE sha256 = ?1 AND name = ?2 LIMIT 1";
constexpr const char* kQueueCounts = R"sql(
SELECT (SELECT COUNT(*) FROM pending_runs WHERE client = ?1),
       (SELECT COUNT(*) FROM pending_runs WHERE name = ?2),
       (SELECT COUNT(*) FROM pending_runs)
)sql";
constexpr const char* kQueueRun = R"sql(
INSERT INTO pending_runs (client, name, mode, level, seconds, day, run, sha256)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)
RETURNING id
)sql";
constexpr const char* kTakeCandidates = R"sql(
SELECT id, client, name, mode, level, seconds, day, sha256, attempts, COALESCE(taken_by, '')
FROM pending_runs
WHERE taken_by IS NULL
    OR (taken_by <> ?3 AND (taken_until < ?1 OR substr(taken_by, 1, length(?2)) = ?2))
ORDER BY taken_by IS NOT NULL, id
LIMIT ?4
)sql";
constexpr const char* kTake = R"sql(
UPDATE pending_runs SET taken_by = ?1, taken_until = ?2, attempts = attempts + 1
WHERE id = ?3
RETURNING run, attempts
)sql";
constexpr const char* kRenew =
    "UPDATE pending_runs SET taken_until = ?2 WHERE taken_by = ?1 AND id = ?3";
// A run let go of by a server that stops was not given a fair try.
constexpr const char* kRelease = R"sql(
UPDATE pending_runs SET taken_by = NULL, taken_until = NULL, attempts = MAX(attempts - 1, 0)
WHERE taken_by = ?1
)sql";
constexpr const char* kDropTaken = "DELETE FROM pending_runs WHERE id = ?1 AND taken_by = ?2";
constexpr const char* kPendingCount = "SELECT COUNT(*) FROM pending_runs";
constexpr const char* kWithoutIdentity = R"sql(
SELECT mode, level, name, verified_seconds, verified_run FROM best_times
WHERE verified_seconds IS NOT NULL AND verified_sha256 IS NULL
)sql";
constexpr const char* kSetIdentity = R"sql(
UPDATE best_times SET verified_sha256 = ?4
WHERE mode = ?1 AND level = ?2 AND name = ?3 AND verified_sha256 IS NULL
)sql";

PendingRun candidateFrom(const SqliteStatement& row) {
    PendingRun run;
    run.id = row.int64Column(0);
    run.client = row.textColumn(1);
    run.claim = {row.textColumn(2), row.intColumn(3), row.intColumn(4),
                 static_cast<float>(row.doubleColumn(5))};
    run.day = row.textColumn(6);
    run.sha256 = row.textColumn(7);
    run.attempts = row.intColumn(8);
    run.takenBy = row.textColumn(9);
    return run;
}

}  // namespace

std::optional<QueueOutcome> SqliteScoreStore::capReached(const PendingRun& run,
                                                         const QueueCaps& caps) {
    SqliteStatement counts(db, kQueueCounts);
    if (!counts || !counts.bind(1, run.client) || !counts.bind(2, run.claim.name) ||
        counts.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    const auto count = [&](int column) {
        return static_cast<std::size_t>(counts.int64Column(column));
    };
    return count(0) >= caps.perClient ? QueueOutcome::ClientFull
           : count(1) >= caps.perName ? QueueOutcome::NameFull
           : count(2) >= caps.total   ? QueueOutcome::QueueFull
                                      : QueueOutcome::Queued;
}

QueueAnswer SqliteScoreStore::queueRun(const PendingRun& run, const QueueCaps& caps) {
    std::lock_guard lock(mutex);
    if (!beginWrite()) {
        return {};
    }
    const auto owner = boardRunOwner(run.sha256);
    if (!owner) {
        return rollBack(QueueAnswer{});
    }
    if (!owner->empty()) {
        execute("ROLLBACK");
        return {*owner == run.claim.name ? QueueOutcome::AlreadyVerified
                                         : QueueOutcome::RunOfAnotherName};
    }
    int found = SQLITE_ERROR;
    {
        SqliteStatement queued(db, kQueuedAlready);
        found = queued && queued.bind(1, run.sha256) && queued.bind(2, run.claim.name)
                    ? queued.step()
                    : SQLITE_ERROR;
        if (found == SQLITE_ROW) {
            const std::int64_t id = queued.int64Column(0);
            queued.step();
            execute("ROLLBACK");
            return {QueueOutcome::AlreadyQueued, id};
        }
    }
    if (found != SQLITE_DONE) {
        return rollBack(QueueAnswer{});
    }
    const auto full = capReached(run, caps);
    if (!full) {
        return rollBack(QueueAnswer{});
    }
    if (*full != QueueOutcome::Queued) {
        execute("ROLLBACK");
        return {*full};
    }
    SqliteStatement insert(db, kQueueRun);
    const SubmissionRequest& claim = run.claim;
    if (!insert || !insert.bind(1, run.client) || !insert.bind(2, claim.name) ||
        !insert.bind(3, claim.mode) || !insert.bind(4, claim.levelId) ||
        !insert.bind(5, static_cast<double>(claim.seconds)) || !insert.bind(6, run.day) ||
        !insert.bindBlob(7, run.run) || !insert.bind(8, run.sha256) ||
        insert.step() != SQLITE_ROW) {
        return rollBack(QueueAnswer{});
    }
    const std::int64_t id = insert.int64Column(0);
    insert.step();
    if (!execute("COMMIT")) {
        return rollBack(QueueAnswer{});
    }
    return {QueueOutcome::Queued, id};
}

std::optional<std::vector<PendingRun>> SqliteScoreStore::takeCandidates(const RunLease& lease) {
    SqliteStatement query(db, kTakeCandidates);
    if (!query || !query.bind(1, lease.now) || !query.bind(2, lease.localPrefix) ||
        !query.bind(3, lease.owner) || !query.bind(4, kCandidates)) {
        return std::nullopt;
    }
    std::vector<PendingRun> candidates;
    for (int step = query.step(); step != SQLITE_DONE; step = query.step()) {
        if (step != SQLITE_ROW) {
            return std::nullopt;
        }
        candidates.push_back(candidateFrom(query));
    }
    return candidates;
}

std::optional<PendingRun> SqliteScoreStore::takeRun(const RunLease& lease,
                                                    const RunChooser& choose) {
    std::lock_guard lock(mutex);
    if (!beginWrite()) {
        return std::nullopt;
    }
    auto candidates = takeCandidates(lease);
    if (!candidates) {
        return rollBack(std::optional<PendingRun>());
    }
    const std::size_t chosen = choose(*candidates);
    if (chosen >= candidates->size()) {
        execute("ROLLBACK");
        return PendingRun{};
    }
    PendingRun run = std::move((*candidates)[chosen]);
    SqliteStatement take(db, kTake);
    if (!take || !take.bind(1, lease.owner) || !take.bind(2, lease.until) ||
        !take.bind(3, run.id) || take.step() != SQLITE_ROW) {
        return rollBack(std::optional<PendingRun>());
    }
    run.run = take.blobColumn(0);
    run.attempts = take.intColumn(1);
    run.takenBy = lease.owner;
    take.step();
    if (!execute("COMMIT")) {
        return rollBack(std::optional<PendingRun>());
    }
    return run;
}

bool SqliteScoreStore::renewRuns(const std::string& owner, const std::vector<std::int64_t>& ids,
                                 std::int64_t until) {
    std::lock_guard lock(mutex);
    if (!beginWrite()) {
        return false;
    }
    for (const std::int64_t id : ids) {
        SqliteStatement renew(db, kRenew);
        if (!renew || !renew.bind(1, owner) || !renew.bind(2, until) || !renew.bind(3, id) ||
            renew.step() != SQLITE_DONE) {
            return rollBack(false);
        }
    }
    return execute("COMMIT") || rollBack(false);
}

bool SqliteScoreStore::releaseRuns(const std::string& owner) {
    std::lock_guard lock(mutex);
    SqliteStatement release(db, kRelease);
    return (fileIsOurs() && release && release.bind(1, owner) && release.step() == SQLITE_DONE) ||
           fail(false);
}

VerdictOutcome SqliteScoreStore::recordVerdict(const PendingRun& run, const std::string& owner,
                                               std::optional<float> verifiedSeconds,
                                               const std::string& route) {
    std::lock_guard lock(mutex);
    if (!beginWrite()) {
        return VerdictOutcome::Failed;
    }
    SqliteStatement drop(db, kDropTaken);
    if (!drop || !drop.bind(1, run.id) || !drop.bind(2, owner) || drop.step() != SQLITE_DONE) {
        return rollBack(VerdictOutcome::Failed);
    }
    if (sqlite3_changes(db) == 0) {
        execute("ROLLBACK");
        return VerdictOutcome::Lost;
    }
    VerdictOutcome outcome = VerdictOutcome::Refused;
    if (verifiedSeconds) {
        const auto boardOwner = boardRunOwner(run.sha256);
        if (!boardOwner) {
            return rollBack(VerdictOutcome::Failed);
        }
        if (!boardOwner->empty() && *boardOwner != run.claim.name) {
            outcome = VerdictOutcome::RunOfAnotherName;
        } else {
            SubmissionRequest replayed = run.claim;
            replayed.seconds = *verifiedSeconds;
            bool newBest = false;
            bool newVerified = false;
            if (!stepSubmission(replayed, run.day, newBest) ||
                !stepVerified(replayed, run.run, run.sha256, route, run.day, newVerified)) {
                return rollBack(VerdictOutcome::Failed);
            }
            outcome = newBest || newVerified ? VerdictOutcome::NewBest : VerdictOutcome::Kept;
        }
    }
    if (!execute("COMMIT")) {
        return rollBack(VerdictOutcome::Failed);
    }
    return outcome;
}

std::optional<std::size_t> SqliteScoreStore::pendingCount() {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, kPendingCount);
    if (query.step() != SQLITE_ROW) {
        return fail(std::nullopt);
    }
    return static_cast<std::size_t>(query.int64Column(0));
}

std::optional<std::vector<BoardRun>> SqliteScoreStore::runsWithoutIdentity() {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, kWithoutIdentity);
    std::vector<BoardRun> runs;
    for (int step = query.step(); step != SQLITE_DONE; step = query.step()) {
        if (step != SQLITE_ROW) {
            return fail(std::nullopt);
        }
        runs.push_back({query.intColumn(0), query.intColumn(1), query.textColumn(2),
                        query.doubleColumn(3), "", query.blobColumn(4)});
    }
    return runs;
}

bool SqliteScoreStore::setRunIdentity(const BoardRun& run) {
    std::lock_guard lock(mutex);
    if (!beginWrite()) {
        return false;
    }
    SqliteStatement set(db, kSetIdentity);
    const bool done = set && set.bind(1, run.mode) && set.bind(2, run.levelId) &&
                      set.bind(3, run.name) && set.bind(4, run.sha256) &&
                      set.step() == SQLITE_DONE &&
                      noteBoardRun(run.sha256, run.mode, run.levelId, run.name);
    if (!done || !execute("COMMIT")) {
        return rollBack(false);
    }
    return true;
}
