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

// Runs after kSubmit in the same transaction, so the row exists.
constexpr const char* kSubmitVerified = R"sql(
UPDATE best_times
SET verified_seconds = $4, verified_day = $5, verified_run = $6,
    verified_arrival = nextval('arrivals')
WHERE mode = $1 AND level = $2 AND name = $3
    AND (verified_seconds IS NULL OR $4 < verified_seconds)
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

constexpr const char* kNameTaken = "SELECT 1 FROM best_times WHERE name = $1 LIMIT 1";

// Writers wait until the copy has committed; readers go on.
constexpr const char* kLockForCopy = "LOCK TABLE best_times IN EXCLUSIVE MODE";
constexpr const char* kHasRecords = "SELECT EXISTS (SELECT 1 FROM best_times)";
// An empty text stands for a missing verified best: no day or run is empty.
constexpr const char* kCopyRecord = R"sql(
INSERT INTO best_times (mode, level, name, seconds, arrival, day,
                        verified_seconds, verified_arrival, verified_day, verified_run)
VALUES ($1, $2, $3, $4, $5, $6,
        NULLIF($7, '')::double precision, NULLIF($8, '')::bigint, NULLIF($9, ''), NULLIF($10, ''))
)sql";
constexpr const char* kContinueArrivals = "SELECT setval('arrivals', $1)";

// Exact both ways: the shortest text that reads back as the same double.
std::string numberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

double numberFrom(const char* text) {
    double value = 0;
    std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

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
            verified ? verified->run : ""};
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

bool changedRows(const PgResult& result) {
    return std::atoi(PQcmdTuples(result.get())) > 0;
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

template <typename Result>
Result PostgresScoreStore::fail(PGconn* connection, const PgResult& failed, Result result) {
    std::string reason = failureText(connection, failed);
    std::lock_guard lock(failureMutex);
    lastFailure = std::move(reason);
    return result;
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

template <typename Work>
auto PostgresScoreStore::withConnection(Work work) {
    auto lease = connections.borrow();
    const bool wasUp = PQstatus(lease.get()) == CONNECTION_OK;
    auto outcome = work(lease.get());
    if (wasUp && PQstatus(lease.get()) == CONNECTION_BAD) {
        PQreset(lease.get());
        outcome = work(lease.get());
    }
    return outcome;
}

bool PostgresScoreStore::ping() {
    return withConnection([&](PGconn* connection) {
        const PgResult result = runScript(connection, "SELECT 1");
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

ScoreStore::SubmitOutcome PostgresScoreStore::submitVerified(const SubmissionRequest& submission,
                                                             const std::string& runText,
                                                             const std::string& day) {
    return withConnection([&](PGconn* connection) {
        auto parameters = submissionParameters(submission, day);
        bool changed = false;
        PgResult result = runScript(connection, "BEGIN");
        if (succeeded(result)) {
            result = runSql(connection, kSubmit, parameters);
        }
        if (succeeded(result)) {
            changed = changedRows(result);
            parameters.push_back(runText);
            result = runSql(connection, kSubmitVerified, parameters);
        }
        if (succeeded(result)) {
            changed = changedRows(result) || changed;
            result = runScript(connection, "COMMIT");
        }
        if (!succeeded(result)) {
            fail(connection, result, 0);
            runScript(connection, "ROLLBACK");
            return SubmitOutcome::Failed;
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
        return PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : "";
    });
}

PostgresScoreStore::CopyOutcome PostgresScoreStore::copyIn(
    const std::vector<StoredRecord>& records) {
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
            result = runSql(connection, kCopyRecord, recordParameters(*record));
        }
        if (succeeded(result) && !records.empty()) {
            result = runSql(connection, kContinueArrivals, {std::to_string(lastArrival(records))});
        }
        if (succeeded(result)) {
            result = runScript(connection, "COMMIT");
        }
        if (!succeeded(result)) {
            fail(connection, result, 0);
            runScript(connection, "ROLLBACK");
            return CopyOutcome::Failed;
        }
        return CopyOutcome::Copied;
    });
}
