// The queue of runs waiting for their verdict, in PostgreSQL: the part of
// PostgresScoreStore that the verifiers of every server sharing the database
// take work from. A take locks the runs it looks at with FOR UPDATE SKIP
// LOCKED, so servers taking at the same moment get different runs; queueing
// and verdicts take one lock of their own, so the caps hold and the same run
// never lands on the board under two names.
#include <cstdlib>
#include <string>

#include "PostgresScoreStore.hpp"

namespace {

// Taken for the length of a queueing or verdict transaction.
constexpr const char* kQueueLock = "SELECT pg_advisory_xact_lock(7406541513)";
// Runs offered to a server's choice at a time: the oldest free ones first.
constexpr const char* kCandidates = "64";

constexpr const char* kQueuedAlready =
    "SELECT id FROM pending_runs WHERE sha256 = $1 AND name = $2 LIMIT 1";
constexpr const char* kQueueCounts = R"sql(
SELECT (SELECT COUNT(*) FROM pending_runs WHERE client = $1),
       (SELECT COUNT(*) FROM pending_runs WHERE name = $2),
       (SELECT COUNT(*) FROM pending_runs)
)sql";
// The run ($7) travels as raw bytes.
constexpr const char* kQueueRun = R"sql(
INSERT INTO pending_runs (client, name, mode, level, seconds, day, run, sha256)
VALUES ($1, $2, $3, $4, $5, $6, $7::bytea, $8)
RETURNING id
)sql";
constexpr const char* kTakeCandidates = R"sql(
SELECT id, client, name, mode, level, seconds, day, sha256, attempts, COALESCE(taken_by, '')
FROM pending_runs
WHERE taken_by IS NULL
    OR (taken_by <> $3 AND (taken_until < $1 OR left(taken_by, length($2)) = $2))
ORDER BY taken_by IS NOT NULL, id
LIMIT $4
FOR UPDATE SKIP LOCKED
)sql";
constexpr const char* kTake = R"sql(
UPDATE pending_runs SET taken_by = $1, taken_until = $2, attempts = attempts + 1
WHERE id = $3
RETURNING run, attempts
)sql";
constexpr const char* kRenew =
    "UPDATE pending_runs SET taken_until = $2 WHERE taken_by = $1 AND id = ANY($3::bigint[])";
// A run let go of by a server that stops was not given a fair try.
constexpr const char* kRelease = R"sql(
UPDATE pending_runs SET taken_by = NULL, taken_until = NULL, attempts = GREATEST(attempts - 1, 0)
WHERE taken_by = $1
)sql";
constexpr const char* kDropTaken = "DELETE FROM pending_runs WHERE id = $1 AND taken_by = $2";
constexpr const char* kPendingCount = "SELECT COUNT(*) FROM pending_runs";
constexpr const char* kWithoutIdentity = R"sql(
SELECT mode, level, name, verified_seconds, verified_run FROM best_times
WHERE verified_seconds IS NOT NULL AND verified_sha256 IS NULL
)sql";
constexpr const char* kSetIdentity = R"sql(
UPDATE best_times SET verified_sha256 = $4
WHERE mode = $1 AND level = $2 AND name = $3 AND verified_sha256 IS NULL
)sql";

PendingRun candidateFrom(const PGresult* result, int row) {
    const auto field = [&](int column) { return PQgetvalue(result, row, column); };
    PendingRun run;
    run.id = std::atoll(field(0));
    run.client = field(1);
    run.claim = {field(2), std::atoi(field(3)), std::atoi(field(4)),
                 static_cast<float>(numberFrom(field(5)))};
    run.day = field(6);
    run.sha256 = field(7);
    run.attempts = std::atoi(field(8));
    run.takenBy = field(9);
    return run;
}

// "{1,2,3}": an array parameter.
std::string idArray(const std::vector<std::int64_t>& ids) {
    std::string text = "{";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        text += (i ? "," : "") + std::to_string(ids[i]);
    }
    return text + "}";
}

}  // namespace

std::optional<QueueOutcome> PostgresScoreStore::capReached(PGconn* connection,
                                                           const PendingRun& run,
                                                           const QueueCaps& caps,
                                                           PgResult& result) {
    result = runSql(connection, kQueueCounts, {run.client, run.claim.name});
    if (!succeeded(result)) {
        return std::nullopt;
    }
    const auto count = [&](int column) {
        return static_cast<std::size_t>(std::atoll(PQgetvalue(result.get(), 0, column)));
    };
    return count(0) >= caps.perClient ? QueueOutcome::ClientFull
           : count(1) >= caps.perName ? QueueOutcome::NameFull
           : count(2) >= caps.total   ? QueueOutcome::QueueFull
                                      : QueueOutcome::Queued;
}

QueueAnswer PostgresScoreStore::queueRun(const PendingRun& run, const QueueCaps& caps) {
    return withConnection([&](PGconn* connection) -> QueueAnswer {
        PgResult result = runScript(connection, "BEGIN");
        if (succeeded(result)) {
            result = runScript(connection, kQueueLock);
        }
        const auto owner =
            succeeded(result) ? boardRunOwner(connection, run.sha256, result) : std::nullopt;
        if (!owner) {
            return rollBack(connection, result, QueueAnswer{});
        }
        if (!owner->empty()) {
            runScript(connection, "ROLLBACK");
            return {*owner == run.claim.name ? QueueOutcome::AlreadyVerified
                                             : QueueOutcome::RunOfAnotherName};
        }
        result = runSql(connection, kQueuedAlready, {run.sha256, run.claim.name});
        if (!succeeded(result)) {
            return rollBack(connection, result, QueueAnswer{});
        }
        if (PQntuples(result.get()) > 0) {
            const std::int64_t id = std::atoll(PQgetvalue(result.get(), 0, 0));
            runScript(connection, "ROLLBACK");
            return {QueueOutcome::AlreadyQueued, id};
        }
        const auto full = capReached(connection, run, caps, result);
        if (!full) {
            return rollBack(connection, result, QueueAnswer{});
        }
        if (*full != QueueOutcome::Queued) {
            runScript(connection, "ROLLBACK");
            return {*full};
        }
        const SubmissionRequest& claim = run.claim;
        result = runSql(
            connection, kQueueRun,
            {run.client, claim.name, std::to_string(claim.mode), std::to_string(claim.levelId),
             numberText(claim.seconds), run.day, run.run, run.sha256},
            {7});
        if (!succeeded(result)) {
            return rollBack(connection, result, QueueAnswer{});
        }
        const std::int64_t id = std::atoll(PQgetvalue(result.get(), 0, 0));
        result = runScript(connection, "COMMIT");
        if (!succeeded(result)) {
            return rollBack(connection, result, QueueAnswer{});
        }
        return {QueueOutcome::Queued, id};
    });
}

std::optional<PendingRun> PostgresScoreStore::takeRun(const RunLease& lease,
                                                      const RunChooser& choose) {
    return withConnection([&](PGconn* connection) -> std::optional<PendingRun> {
        PgResult result = runScript(connection, "BEGIN");
        if (succeeded(result)) {
            result =
                runSql(connection, kTakeCandidates,
                       {std::to_string(lease.now), lease.localPrefix, lease.owner, kCandidates});
        }
        if (!succeeded(result)) {
            return rollBack(connection, result, std::optional<PendingRun>());
        }
        std::vector<PendingRun> candidates;
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            candidates.push_back(candidateFrom(result.get(), row));
        }
        const std::size_t chosen = choose(candidates);
        if (chosen >= candidates.size()) {
            runScript(connection, "ROLLBACK");
            return PendingRun{};
        }
        PendingRun run = std::move(candidates[chosen]);
        result = runSql(connection, kTake,
                        {lease.owner, std::to_string(lease.until), std::to_string(run.id)});
        if (!succeeded(result) || PQntuples(result.get()) != 1) {
            return rollBack(connection, result, std::optional<PendingRun>());
        }
        run.run = byteaField(result.get(), 0, 0);
        run.attempts = std::atoi(PQgetvalue(result.get(), 0, 1));
        run.takenBy = lease.owner;
        result = runScript(connection, "COMMIT");
        if (!succeeded(result)) {
            return rollBack(connection, result, std::optional<PendingRun>());
        }
        return run;
    });
}

bool PostgresScoreStore::renewRuns(const std::string& owner, const std::vector<std::int64_t>& ids,
                                   std::int64_t until) {
    return withConnection([&](PGconn* connection) {
        const PgResult result =
            runSql(connection, kRenew, {owner, std::to_string(until), idArray(ids)});
        return succeeded(result) || fail(connection, result, false);
    });
}

bool PostgresScoreStore::releaseRuns(const std::string& owner) {
    return withConnection([&](PGconn* connection) {
        const PgResult result = runSql(connection, kRelease, {owner});
        return succeeded(result) || fail(connection, result, false);
    });
}

VerdictOutcome PostgresScoreStore::recordVerdict(const PendingRun& run, const std::string& owner,
                                                 std::optional<float> verifiedSeconds,
                                                 const std::string& route) {
    return withConnection([&](PGconn* connection) {
        PgResult result = runScript(connection, "BEGIN");
        if (succeeded(result)) {
            result = runScript(connection, kQueueLock);
        }
        if (succeeded(result)) {
            result = runSql(connection, kDropTaken, {std::to_string(run.id), owner});
        }
        if (!succeeded(result)) {
            return rollBack(connection, result, VerdictOutcome::Failed);
        }
        if (!changedRows(result)) {
            runScript(connection, "ROLLBACK");
            return VerdictOutcome::Lost;
        }
        VerdictOutcome outcome = VerdictOutcome::Refused;
        if (verifiedSeconds) {
            const auto boardOwner = boardRunOwner(connection, run.sha256, result);
            if (!boardOwner) {
                return rollBack(connection, result, VerdictOutcome::Failed);
            }
            if (!boardOwner->empty() && *boardOwner != run.claim.name) {
                outcome = VerdictOutcome::RunOfAnotherName;
            } else {
                SubmissionRequest replayed = run.claim;
                replayed.seconds = *verifiedSeconds;
                bool changed = false;
                if (!stepVerified(connection, replayed, run.run, run.sha256, route, run.day, result,
                                  changed)) {
                    return rollBack(connection, result, VerdictOutcome::Failed);
                }
                outcome = changed ? VerdictOutcome::NewBest : VerdictOutcome::Kept;
            }
        }
        result = runScript(connection, "COMMIT");
        if (!succeeded(result)) {
            return rollBack(connection, result, VerdictOutcome::Failed);
        }
        return outcome;
    });
}

std::optional<std::size_t> PostgresScoreStore::pendingCount() {
    return withConnection([&](PGconn* connection) -> std::optional<std::size_t> {
        const PgResult result = runScript(connection, kPendingCount);
        if (!succeeded(result)) {
            return fail(connection, result, std::nullopt);
        }
        return static_cast<std::size_t>(std::atoll(PQgetvalue(result.get(), 0, 0)));
    });
}

std::optional<std::vector<BoardRun>> PostgresScoreStore::runsWithoutIdentity() {
    return withConnection([&](PGconn* connection) -> std::optional<std::vector<BoardRun>> {
        const PgResult result = runScript(connection, kWithoutIdentity);
        if (!succeeded(result)) {
            return fail(connection, result, std::nullopt);
        }
        std::vector<BoardRun> runs;
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            const auto field = [&](int column) { return PQgetvalue(result.get(), row, column); };
            runs.push_back({std::atoi(field(0)), std::atoi(field(1)), field(2),
                            numberFrom(field(3)), "", byteaField(result.get(), row, 4)});
        }
        return runs;
    });
}

bool PostgresScoreStore::setRunIdentity(const BoardRun& run) {
    return withConnection([&](PGconn* connection) {
        PgResult result = runScript(connection, "BEGIN");
        if (succeeded(result)) {
            result = runSql(
                connection, kSetIdentity,
                {std::to_string(run.mode), std::to_string(run.levelId), run.name, run.sha256});
        }
        if (succeeded(result)) {
            result = noteBoardRun(connection, run.sha256, run.mode, run.levelId, run.name);
        }
        if (succeeded(result)) {
            result = runScript(connection, "COMMIT");
        }
        return succeeded(result) || rollBack(connection, result, false);
    });
}
