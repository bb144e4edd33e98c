#include "PostgresScoreStore.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>

#include "StoreSchema.hpp"

namespace {

// Connections kept open per server: one per HTTP worker on a small machine;
// a call waits while all are busy.
constexpr std::size_t kMaxConnections = 8;
// Taken for the upgrade transaction, so that servers starting together on a
// new database create the tables once.
constexpr const char* kUpgradeLock = "SELECT pg_advisory_xact_lock(7406541512)";

// Step i brings the tables from version i to version i + 1. `arrivals` is
// the one source of arrival numbers for every server sharing the database.
constexpr const char* kUpgradeSteps[] = {
    R"sql(
CREATE TABLE best_times (
    mode    INTEGER NOT NULL,
    level   INTEGER NOT NULL,
    name    TEXT    NOT NULL,
    seconds DOUBLE PRECISION NOT NULL,
    arrival BIGINT  NOT NULL,
    day     TEXT    NOT NULL,
    PRIMARY KEY (mode, level, name)
);
CREATE INDEX best_times_order ON best_times (mode, level, seconds, arrival);
CREATE INDEX best_times_name ON best_times (name);
CREATE SEQUENCE arrivals;
)sql",
    R"sql(
ALTER TABLE best_times
    ADD COLUMN verified_seconds DOUBLE PRECISION,
    ADD COLUMN verified_arrival BIGINT,
    ADD COLUMN verified_day TEXT,
    ADD COLUMN verified_run TEXT;
CREATE INDEX best_times_verified_order ON best_times (mode, level, verified_seconds, verified_arrival)
    WHERE verified_seconds IS NOT NULL;
)sql",
    R"sql(
ALTER TABLE best_times
    ALTER COLUMN verified_run TYPE BYTEA USING convert_to(verified_run, 'UTF8'),
    ADD COLUMN verified_sha256 TEXT,
    ADD COLUMN verified_route BYTEA;
CREATE TABLE board_runs (
    sha256 TEXT    PRIMARY KEY,
    mode   INTEGER NOT NULL,
    level  INTEGER NOT NULL,
    name   TEXT    NOT NULL
);
CREATE TABLE pending_runs (
    id          BIGSERIAL PRIMARY KEY,
    client      TEXT    NOT NULL,
    name        TEXT    NOT NULL,
    mode        INTEGER NOT NULL,
    level       INTEGER NOT NULL,
    seconds     DOUBLE PRECISION NOT NULL,
    day         TEXT    NOT NULL,
    run         BYTEA   NOT NULL,
    sha256      TEXT    NOT NULL,
    attempts    INTEGER NOT NULL DEFAULT 0,
    taken_by    TEXT,
    taken_until BIGINT
);
CREATE INDEX pending_runs_client ON pending_runs (client);
CREATE INDEX pending_runs_name ON pending_runs (name);
CREATE INDEX pending_runs_sha256 ON pending_runs (sha256);
CREATE TABLE heartbeat (
    id     INTEGER PRIMARY KEY CHECK (id = 1),
    beat   BIGINT  NOT NULL,
    server TEXT    NOT NULL
);
)sql",
    R"sql(
CREATE SEQUENCE custom_level_numbers;
CREATE TABLE custom_levels (
    level  INTEGER PRIMARY KEY DEFAULT -nextval('custom_level_numbers') CHECK (level < 0),
    sha256 TEXT    NOT NULL UNIQUE
);
)sql",
};
static_assert(std::size(kUpgradeSteps) == kStoreSchemaVersion);

constexpr const char* kHasVersionTable = "SELECT to_regclass('schema_version') IS NOT NULL";
constexpr const char* kReadVersion = "SELECT COALESCE(MAX(version), 0) FROM schema_version";

// The arrival number is taken from the sequence whether or not the row
// changes; gaps do no harm, only the order counts.
constexpr const char* kSubmit = R"sql(
INSERT INTO best_times (mode, level, name, seconds, arrival, day)
VALUES ($1, $2, $3, $4, nextval('arrivals'), $5)
ON CONFLICT (mode, level, name) DO UPDATE
    SET seconds = excluded.seconds, arrival = excluded.arrival, day = excluded.day
    WHERE excluded.seconds < best_times.seconds
)sql";

// Runs after kSubmit in the same transaction, so the row exists. The run
// ($6) and the route ($8, "" for none) travel as raw bytes.
constexpr const char* kSubmitVerified = R"sql(
UPDATE best_times
SET verified_seconds = $4, verified_day = $5, verified_run = $6::bytea, verified_sha256 = $7,
    verified_route = NULLIF($8::bytea, ''::bytea), verified_arrival = nextval('arrivals')
WHERE mode = $1 AND level = $2 AND name = $3
    AND (verified_seconds IS NULL OR $4 < verified_seconds)
)sql";
// Runs after a changed kSubmitVerified: the run is on the board now, and
// stays known as this name's when a faster one replaces it.
constexpr const char* kNoteBoardRun = R"sql(
INSERT INTO board_runs (sha256, mode, level, name) VALUES ($1, $2, $3, $4)
ON CONFLICT (sha256) DO NOTHING
)sql";
constexpr const char* kBoardRunOwner = "SELECT name FROM board_runs WHERE sha256 = $1";

constexpr const char* kHeartbeat = R"sql(
INSERT INTO heartbeat (id, beat, server)
VALUES (1, (extract(epoch FROM clock_timestamp()) * 1000)::bigint, $1)
ON CONFLICT (id) DO UPDATE SET beat = excluded.beat, server = excluded.server
)sql";

constexpr const char* kTable = R"sql(
SELECT name, seconds, day, COALESCE(verified_seconds = seconds, false) FROM best_times
WHERE mode = $1 AND level = $2
ORDER BY seconds, arrival
LIMIT $3
)sql";

constexpr const char* kVerifiedTable = R"sql(
SELECT name, verified_seconds, verified_day, true FROM best_times
WHERE mode = $1 AND level = $2 AND verified_seconds IS NOT NULL
ORDER BY verified_seconds, verified_arrival
LIMIT $3
)sql";

constexpr const char* kVerifiedRun = R"sql(
SELECT verified_run FROM best_times
WHERE mode = $1 AND level = $2 AND verified_seconds IS NOT NULL
ORDER BY verified_seconds, verified_arrival
LIMIT 1 OFFSET $3
)sql";

constexpr const char* kVerifiedBest = R"sql(
SELECT verified_seconds, verified_arrival, verified_day, verified_run,
       COALESCE(verified_sha256, ''), verified_route
FROM best_times
WHERE mode = $1 AND level = $2 AND name = $3 AND verified_seconds IS NOT NULL
)sql";

constexpr const char* kNameTaken = "SELECT 1 FROM best_times WHERE name = $1 LIMIT 1";

// Writers wait until the copy has committed; readers go on.
constexpr const char* kLockForCopy = "LOCK TABLE best_times IN EXCLUSIVE MODE";
constexpr const char* kHasRecords = "SELECT EXISTS (SELECT 1 FROM best_times)";
// An empty text stands for a missing verified best: no day or run is empty.
// The run ($10) and the route ($12) travel as raw bytes.
constexpr const char* kCopyRecord = R"sql(
INSERT INTO best_times (mode, level, name, seconds, arrival, day,
                        verified_seconds, verified_arrival, verified_day, verified_run,
                        verified_sha256, verified_route)
VALUES ($1, $2, $3, $4, $5, $6,
        NULLIF($7, '')::double precision, NULLIF($8, '')::bigint, NULLIF($9, ''),
        NULLIF($10::bytea, ''::bytea), NULLIF($11, ''), NULLIF($12::bytea, ''::bytea))
)sql";
constexpr const char* kContinueArrivals = "SELECT setval('arrivals', $1)";

std::string countText(std::size_t count) {
    constexpr auto kLargest = static_cast<std::size_t>(std::numeric_limits<std::int64_t>::max());
    return std::to_string(std::min(count, kLargest));
}

std::vector<std::string> submissionParameters(const SubmissionRequest& submission,
                                              const std::string& day) {
    return {std::to_string(submission.mode), std::to_string(submission.levelId), submission.name,
            numberText(submission.seconds), day};
}

std::vector<std::string> recordParameters(const StoredRecord& record) {
    const auto& verified = record.verified;
    return {std::to_string(record.mode),
            std::to_string(record.levelId),
            record.name,
            numberText(record.seconds),
            std::to_string(record.arrival),
            record.day,
            verified ? numberText(verified->seconds) : "",
            verified ? std::to_string(verified->arrival) : "",
            verified ? verified->day : "",
            verified ? verified->run : "",
            verified ? verified->sha256 : "",
            verified ? verified->route : ""};
}

std::int64_t lastArrival(const std::vector<StoredRecord>& records) {
    std::int64_t last = 0;
    for (const StoredRecord& record : records) {
        last = std::max(last, record.arrival);
        if (record.verified) {
            last = std::max(last, record.verified->arrival);
        }
    }
    return last;
}

// The version of the tables, 0 for a database without them; empty with the
// failure in `result`.
std::optional<int> readVersion(PGconn* connection, PgResult& result) {
    result = runScript(connection, kHasVersionTable);
    if (!succeeded(result)) {
        return std::nullopt;
    }
    if (PQgetvalue(result.get(), 0, 0)[0] != 't') {
        return 0;
    }
    result = runScript(connection, kReadVersion);
    if (!succeeded(result)) {
        return std::nullopt;
    }
    return std::atoi(PQgetvalue(result.get(), 0, 0));
}

}  // namespace

PostgresScoreStore::PostgresScoreStore(const std::string& uri)
    : connections(uri, kMaxConnections) {}

std::unique_ptr<PostgresScoreStore> PostgresScoreStore::open(const std::string& uri,
                                                             std::string& error) {
    std::unique_ptr<PostgresScoreStore> store(new PostgresScoreStore(uri));
    return store->upgrade(error) ? std::move(store) : nullptr;
}

std::string PostgresScoreStore::lastError() {
    std::lock_guard lock(failureMutex);
    return lastFailure;
}

bool PostgresScoreStore::upgrade(std::string& error) {
    auto lease = connections.borrow();
    PGconn* connection = lease.get();
    PgResult result = runScript(connection, "BEGIN");
    if (succeeded(result)) {
        result = runScript(connection, kUpgradeLock);
    }
    const auto found = succeeded(result) ? readVersion(connection, result) : std::nullopt;
    if (found > kStoreSchemaVersion) {
        error = newerSchemaRefusal(*found);
        runScript(connection, "ROLLBACK");
        return false;
    }
    for (int step = found.value_or(0); found && succeeded(result) && step < kStoreSchemaVersion;
         ++step) {
        result = runScript(connection, kUpgradeSteps[step]);
    }
    if (found && succeeded(result) && *found != kStoreSchemaVersion) {
        result = runScript(connection, schemaVersionWrite().c_str());
    }
    if (found && succeeded(result)) {
        result = runScript(connection, "COMMIT");
    }
    if (!found || !succeeded(result)) {
        error = failureText(connection, result);
        runScript(connection, "ROLLBACK");
        return false;
    }
    return true;
}

bool PostgresScoreStore::heartbeat(const std::string& server) {
    return withConnection([&](PGconn* connection) {
        const PgResult result = runSql(connection, kHeartbeat, {server});
        return succeeded(result) || fail(connection, result, false);
    });
}

std::optional<bool> PostgresScoreStore::nameTaken(const std::string& name) {
    return withConnection([&](PGconn* connection) -> std::optional<bool> {
        const PgResult result = runSql(connection, kNameTaken, {name});
        if (!succeeded(result)) {
            return fail(connection, result, std::nullopt);
        }
        return PQntuples(result.get()) > 0;
    });
}

ScoreStore::SubmitOutcome PostgresScoreStore::submit(const SubmissionRequest& submission,
                                                     const std::string& day) {
    // One statement is one transaction.
    return withConnection([&](PGconn* connection) {
        const PgResult result = runSql(connection, kSubmit, submissionParameters(submission, day));
        if (!succeeded(result)) {
            return fail(connection, result, SubmitOutcome::Failed);
        }
        return changedRows(result) ? SubmitOutcome::NewBest : SubmitOutcome::Kept;
    });
}

bool PostgresScoreStore::stepVerified(PGconn* connection, const SubmissionRequest& submission,
                                      const std::string& runText, const std::string& runSha256,
                                      const std::string& route, const std::string& day,
                                      PgResult& result, bool& changed) {
    auto parameters = submissionParameters(submission, day);
    result = runSql(connection, kSubmit, parameters);
    if (!succeeded(result)) {
        return false;
    }
    changed = changedRows(result);
    parameters.push_back(runText);
    parameters.push_back(runSha256);
    parameters.push_back(route);
    result = runSql(connection, kSubmitVerified, parameters, {6, 8});
    if (!succeeded(result)) {
        return false;
    }
    if (changedRows(result)) {
        changed = true;
        result = noteBoardRun(connection, runSha256, submission.mode, submission.levelId,
                              submission.name);
    }
    return succeeded(result);
}

PgResult PostgresScoreStore::noteBoardRun(PGconn* connection, const std::string& sha256, int mode,
                                          int levelId, const std::string& name) {
    return runSql(connection, kNoteBoardRun,
                  {sha256, std::to_string(mode), std::to_string(levelId), name});
}

std::optional<std::string> PostgresScoreStore::boardRunOwner(PGconn* connection,
                                                             const std::string& sha256,
                                                             PgResult& result) {
    result = runSql(connection, kBoardRunOwner, {sha256});
    if (!succeeded(result)) {
        return std::nullopt;
    }
    return PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : "";
}

ScoreStore::SubmitOutcome PostgresScoreStore::submitVerified(const SubmissionRequest& submission,
                                                             const std::string& runText,
                                                             const std::string& runSha256,
                                                             const std::string& day) {
    return withConnection([&](PGconn* connection) {
        bool changed = false;
        PgResult result = runScript(connection, "BEGIN");
        if (!succeeded(result) ||
            !stepVerified(connection, submission, runText, runSha256, "", day, result, changed)) {
            return rollBack(connection, result, SubmitOutcome::Failed);
        }
        result = runScript(connection, "COMMIT");
        if (!succeeded(result)) {
            return rollBack(connection, result, SubmitOutcome::Failed);
        }
        return changed ? SubmitOutcome::NewBest : SubmitOutcome::Kept;
    });
}

std::optional<std::vector<BestTime>> PostgresScoreStore::table(int mode, int levelId,
                                                               std::size_t limit,
                                                               bool verifiedOnly) {
    return withConnection([&](PGconn* connection) -> std::optional<std::vector<BestTime>> {
        const PgResult result =
            runSql(connection, verifiedOnly ? kVerifiedTable : kTable,
                   {std::to_string(mode), std::to_string(levelId), countText(limit)});
        if (!succeeded(result)) {
            return fail(connection, result, std::nullopt);
        }
        std::vector<BestTime> rows;
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            const auto field = [&](int column) { return PQgetvalue(result.get(), row, column); };
            rows.push_back(
                {field(0), static_cast<float>(numberFrom(field(1))), field(2), field(3)[0] == 't'});
        }
        return rows;
    });
}

std::optional<std::string> PostgresScoreStore::verifiedRun(int mode, int levelId,
                                                           std::size_t position) {
    if (position == 0) {
        return "";
    }
    return withConnection([&](PGconn* connection) -> std::optional<std::string> {
        const PgResult result =
            runSql(connection, kVerifiedRun,
                   {std::to_string(mode), std::to_string(levelId), countText(position - 1)});
        if (!succeeded(result)) {
            return fail(connection, result, std::nullopt);
        }
        return PQntuples(result.get()) > 0 ? byteaField(result.get(), 0, 0) : "";
    });
}

std::optional<VerifiedBest> PostgresScoreStore::verifiedBest(int mode, int levelId,
                                                             const std::string& name) {
    return withConnection([&](PGconn* connection) -> std::optional<VerifiedBest> {
        const PgResult result = runSql(connection, kVerifiedBest,
                                       {std::to_string(mode), std::to_string(levelId), name});
        if (!succeeded(result)) {
            return fail(connection, result, std::nullopt);
        }
        if (PQntuples(result.get()) == 0) {
            return VerifiedBest{};
        }
        const PGresult* row = result.get();
        return VerifiedBest{numberFrom(PQgetvalue(row, 0, 0)),
                            std::atoll(PQgetvalue(row, 0, 1)),
                            PQgetvalue(row, 0, 2),
                            byteaField(row, 0, 3),
                            PQgetvalue(row, 0, 4),
                            byteaField(row, 0, 5)};
    });
}

PostgresScoreStore::CopyOutcome PostgresScoreStore::copyIn(const std::vector<StoredRecord>& records,
                                                           const std::vector<BoardRun>& boardRuns) {
    return withConnection([&](PGconn* connection) {
        PgResult result = runScript(connection, "BEGIN");
        if (succeeded(result)) {
            result = runScript(connection, kLockForCopy);
        }
        if (succeeded(result)) {
            result = runScript(connection, kHasRecords);
        }
        if (succeeded(result) && PQgetvalue(result.get(), 0, 0)[0] == 't') {
            runScript(connection, "ROLLBACK");
            return CopyOutcome::TargetNotEmpty;
        }
        for (auto record = records.begin(); succeeded(result) && record != records.end();
             ++record) {
            result = runSql(connection, kCopyRecord, recordParameters(*record), {10, 12});
        }
        for (auto run = boardRuns.begin(); succeeded(result) && run != boardRuns.end(); ++run) {
            result = noteBoardRun(connection, run->sha256, run->mode, run->levelId, run->name);
        }
        if (succeeded(result) && !records.empty()) {
            result = runSql(connection, kContinueArrivals, {std::to_string(lastArrival(records))});
        }
        if (succeeded(result)) {
            result = runScript(connection, "COMMIT");
        }
        if (!succeeded(result)) {
            return rollBack(connection, result, CopyOutcome::Failed);
        }
        return CopyOutcome::Copied;
    });
}
