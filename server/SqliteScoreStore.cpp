#include "SqliteScoreStore.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <iterator>
#include <limits>

#include "SqliteStatement.hpp"
#include "StoreSchema.hpp"

namespace {

// How long a call waits for another process holding the file, in ms.
constexpr int kBusyTimeoutMs = 5000;

// Step i brings the tables from version i to version i + 1. Files of the
// first servers had no version table; they are version 1 and say so in
// SQLite's user_version.
constexpr const char* kUpgradeSteps[] = {
    R"sql(
CREATE TABLE IF NOT EXISTS best_times (
    mode    INTEGER NOT NULL,
    level   INTEGER NOT NULL,
    name    TEXT    NOT NULL,
    seconds REAL    NOT NULL,
    arrival INTEGER NOT NULL,
    day     TEXT    NOT NULL,
    PRIMARY KEY (mode, level, name)
) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS best_times_order ON best_times (mode, level, seconds, arrival);
CREATE INDEX IF NOT EXISTS best_times_name ON best_times (name);
CREATE INDEX IF NOT EXISTS best_times_arrival ON best_times (arrival);
)sql",
    R"sql(
ALTER TABLE best_times ADD COLUMN verified_seconds REAL;
ALTER TABLE best_times ADD COLUMN verified_arrival INTEGER;
ALTER TABLE best_times ADD COLUMN verified_day TEXT;
ALTER TABLE best_times ADD COLUMN verified_run TEXT;
CREATE INDEX best_times_verified_order ON best_times (mode, level, verified_seconds, verified_arrival)
    WHERE verified_seconds IS NOT NULL;
CREATE INDEX best_times_verified_arrival ON best_times (verified_arrival);
)sql",
};
static_assert(std::size(kUpgradeSteps) == kStoreSchemaVersion);

constexpr const char* kHasVersionTable =
    "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'";

// The version is kept twice: the table is the store's record of it, and
// user_version keeps servers from before the table off newer files.
std::string versionWrite() {
    return schemaVersionWrite() + "PRAGMA user_version = " + std::to_string(kStoreSchemaVersion) +
           ";";
}

// `arrival` and `verified_arrival` each count the writes to their column, so
// equal times keep the order in which they came in; a write takes the largest
// value plus one under SQLite's write lock, so they only ever grow.
constexpr const char* kSubmit = R"sql(
INSERT INTO best_times (mode, level, name, seconds, arrival, day)
VALUES (?1, ?2, ?3, ?4, (SELECT COALESCE(MAX(arrival), 0) + 1 FROM best_times), ?5)
ON CONFLICT (mode, level, name) DO UPDATE
    SET seconds = excluded.seconds, arrival = excluded.arrival, day = excluded.day
    WHERE excluded.seconds < best_times.seconds
)sql";

// Runs after kSubmit in the same transaction, so the row exists.
constexpr const char* kSubmitVerified = R"sql(
UPDATE best_times
SET verified_seconds = ?4, verified_day = ?5, verified_run = ?6,
    verified_arrival = (SELECT COALESCE(MAX(verified_arrival), 0) + 1 FROM best_times)
WHERE mode = ?1 AND level = ?2 AND name = ?3
    AND (verified_seconds IS NULL OR ?4 < verified_seconds)
)sql";

constexpr const char* kTable = R"sql(
SELECT name, seconds, day, COALESCE(verified_seconds = seconds, 0) FROM best_times
WHERE mode = ?1 AND level = ?2
ORDER BY seconds, arrival
LIMIT ?3
)sql";

constexpr const char* kVerifiedTable = R"sql(
SELECT name, verified_seconds, verified_day, 1 FROM best_times
WHERE mode = ?1 AND level = ?2 AND verified_seconds IS NOT NULL
ORDER BY verified_seconds, verified_arrival
LIMIT ?3
)sql";

constexpr const char* kVerifiedRun = R"sql(
SELECT verified_run FROM best_times
WHERE mode = ?1 AND level = ?2 AND verified_seconds IS NOT NULL
ORDER BY verified_seconds, verified_arrival
LIMIT 1 OFFSET ?3
)sql";

constexpr const char* kNameTaken = "SELECT 1 FROM best_times WHERE name = ?1 LIMIT 1";

constexpr const char* kAllRecords = R"sql(
SELECT mode, level, name, seconds, arrival, day,
       verified_seconds, verified_arrival, verified_day, verified_run
FROM best_times ORDER BY arrival
)sql";
// A version 1 board has no verified columns.
constexpr const char* kAllRecordsVersion1 = R"sql(
SELECT mode, level, name, seconds, arrival, day, NULL, NULL, NULL, NULL
FROM best_times ORDER BY arrival
)sql";

std::int64_t clampedCount(std::size_t count) {
    constexpr auto kLargest = static_cast<std::size_t>(std::numeric_limits<std::int64_t>::max());
    return static_cast<std::int64_t>(std::min(count, kLargest));
}

bool bindSubmission(SqliteStatement& statement, const SubmissionRequest& submission,
                    const std::string& day) {
    return statement && statement.bind(1, submission.mode) &&
           statement.bind(2, submission.levelId) && statement.bind(3, submission.name) &&
           statement.bind(4, static_cast<double>(submission.seconds)) && statement.bind(5, day);
}

StoredRecord recordFrom(const SqliteStatement& row) {
    StoredRecord record{row.intColumn(0),    row.intColumn(1),   row.textColumn(2),
                        row.doubleColumn(3), row.int64Column(4), row.textColumn(5),
                        std::nullopt};
    if (!row.isNull(6)) {
        record.verified = VerifiedBest{row.doubleColumn(6), row.int64Column(7), row.textColumn(8),
                                       row.textColumn(9)};
    }
    return record;
}

}  // namespace

template <typename Result>
Result SqliteScoreStore::fail(Result result) {
    lastFailure = sqlite3_errmsg(db);
    return result;
}

std::unique_ptr<SqliteScoreStore> SqliteScoreStore::openFile(const std::string& path, int flags,
                                                             std::string& error) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    std::unique_ptr<SqliteScoreStore> store(new SqliteScoreStore(db));
    const auto version = store->readVersion();
    if (!version) {
        error = sqlite3_errmsg(db);
        return nullptr;
    }
    if (*version > kStoreSchemaVersion) {
        error = newerSchemaRefusal(*version);
        return nullptr;
    }
    store->version = *version;
    return store;
}

std::unique_ptr<SqliteScoreStore> SqliteScoreStore::open(const std::string& path,
                                                         std::string& error) {
    auto store = openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (!store) {
        return nullptr;
    }
    // WAL with FULL syncs the log on every commit: an answered submission is
    // on disk. The journal mode is stored in the file; synchronous is per
    // connection.
    if (!store->execute("PRAGMA journal_mode = WAL") ||
        !store->execute("PRAGMA synchronous = FULL")) {
        error = sqlite3_errmsg(store->db);
        return nullptr;
    }
    if (!store->inWalMode()) {
        error = "the file cannot be put in WAL mode";
        return nullptr;
    }
    return store->upgrade(error) ? std::move(store) : nullptr;
}

std::unique_ptr<SqliteScoreStore> SqliteScoreStore::openToCopy(const std::string& path,
                                                               std::string& error) {
    auto store = openFile(path, SQLITE_OPEN_READONLY, error);
    if (store && store->version == 0) {
        error = "the file holds no highscore tables";
        return nullptr;
    }
    return store;
}

SqliteScoreStore::~SqliteScoreStore() {
    // Closing the last connection folds the write-ahead log back into the file.
    sqlite3_close(db);
}

bool SqliteScoreStore::execute(const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteScoreStore::inWalMode() {
    // Finished before returning: an unfinished statement would keep the
    // upgrade from committing.
    SqliteStatement mode(db, "PRAGMA journal_mode");
    return mode.step() == SQLITE_ROW && mode.textColumn(0) == "wal";
}

std::optional<int> SqliteScoreStore::readVersion() {
    SqliteStatement hasTable(db, kHasVersionTable);
    const int found = hasTable.step();
    if (found != SQLITE_ROW && found != SQLITE_DONE) {
        return std::nullopt;
    }
    SqliteStatement read(db, found == SQLITE_ROW ? "SELECT MAX(version) FROM schema_version"
                                                 : "PRAGMA user_version");
    if (read.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return read.intColumn(0);
}

bool SqliteScoreStore::upgrade(std::string& error) {
    // The immediate transaction holds the write lock from the start, so two
    // servers opening one old file upgrade it once; a failed step leaves the
    // file as it was.
    if (!execute("BEGIN IMMEDIATE")) {
        error = sqlite3_errmsg(db);
        return false;
    }
    const auto found = readVersion();
    bool done = found.has_value() && *found <= kStoreSchemaVersion;
    for (int step = found.value_or(0); done && step < kStoreSchemaVersion; ++step) {
        done = execute(kUpgradeSteps[step]);
    }
    if (done && found != kStoreSchemaVersion) {
        done = execute(versionWrite().c_str());
    }
    if (!done || !execute("COMMIT")) {
        error = found && *found > kStoreSchemaVersion ? newerSchemaRefusal(*found)
                                                      : std::string(sqlite3_errmsg(db));
        execute("ROLLBACK");
        return false;
    }
    version = kStoreSchemaVersion;
    return true;
}

std::string SqliteScoreStore::lastError() {
    std::lock_guard lock(mutex);
    return lastFailure;
}

bool SqliteScoreStore::ping() {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, "SELECT 1 FROM best_times LIMIT 1");
    const int step = query.step();
    return step == SQLITE_ROW || step == SQLITE_DONE || fail(false);
}

std::optional<bool> SqliteScoreStore::nameTaken(const std::string& name) {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, kNameTaken);
    if (!query || !query.bind(1, name)) {
        return fail(std::nullopt);
    }
    const int step = query.step();
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        return fail(std::nullopt);
    }
    return step == SQLITE_ROW;
}

bool SqliteScoreStore::stepSubmission(const SubmissionRequest& submission, const std::string& day,
                                      bool& changed) {
    SqliteStatement insert(db, kSubmit);
    if (!bindSubmission(insert, submission, day) || insert.step() != SQLITE_DONE) {
        return false;
    }
    changed = sqlite3_changes(db) > 0;
    return true;
}

bool SqliteScoreStore::stepVerified(const SubmissionRequest& submission, const std::string& runText,
                                    const std::string& day, bool& changed) {
    SqliteStatement update(db, kSubmitVerified);
    if (!bindSubmission(update, submission, day) || !update.bind(6, runText) ||
        update.step() != SQLITE_DONE) {
        return false;
    }
    changed = sqlite3_changes(db) > 0;
    return true;
}

ScoreStore::SubmitOutcome SqliteScoreStore::submit(const SubmissionRequest& submission,
                                                   const std::string& day) {
    std::lock_guard lock(mutex);
    bool changed = false;
    if (!stepSubmission(submission, day, changed)) {
        return fail(SubmitOutcome::Failed);
    }
    return changed ? SubmitOutcome::NewBest : SubmitOutcome::Kept;
}

ScoreStore::SubmitOutcome SqliteScoreStore::submitVerified(const SubmissionRequest& submission,
                                                           const std::string& runText,
                                                           const std::string& day) {
    std::lock_guard lock(mutex);
    bool newBest = false;
    bool newVerified = false;
    if (!execute("BEGIN IMMEDIATE")) {
        return fail(SubmitOutcome::Failed);
    }
    if (!stepSubmission(submission, day, newBest) ||
        !stepVerified(submission, runText, day, newVerified) || !execute("COMMIT")) {
        fail(SubmitOutcome::Failed);
        execute("ROLLBACK");
        return SubmitOutcome::Failed;
    }
    return newBest || newVerified ? SubmitOutcome::NewBest : SubmitOutcome::Kept;
}

std::optional<std::vector<BestTime>> SqliteScoreStore::table(int mode, int levelId,
                                                             std::size_t limit, bool verifiedOnly) {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, verifiedOnly ? kVerifiedTable : kTable);
    if (!query || !query.bind(1, mode) || !query.bind(2, levelId) ||
        !query.bind(3, clampedCount(limit))) {
        return fail(std::nullopt);
    }
    std::vector<BestTime> rows;
    for (int step = query.step(); step != SQLITE_DONE; step = query.step()) {
        if (step != SQLITE_ROW) {
            return fail(std::nullopt);
        }
        rows.push_back({query.textColumn(0), static_cast<float>(query.doubleColumn(1)),
                        query.textColumn(2), query.intColumn(3) != 0});
    }
    return rows;
}

std::optional<std::string> SqliteScoreStore::verifiedRun(int mode, int levelId,
                                                         std::size_t position) {
    if (position == 0) {
        return "";
    }
    std::lock_guard lock(mutex);
    SqliteStatement query(db, kVerifiedRun);
    if (!query || !query.bind(1, mode) || !query.bind(2, levelId) ||
        !query.bind(3, clampedCount(position - 1))) {
        return fail(std::nullopt);
    }
    const int step = query.step();
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        return fail(std::nullopt);
    }
    return step == SQLITE_ROW ? query.textColumn(0) : "";
}

std::optional<std::vector<StoredRecord>> SqliteScoreStore::allRecords() {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, version == 1 ? kAllRecordsVersion1 : kAllRecords);
    std::vector<StoredRecord> records;
    for (int step = query.step(); step != SQLITE_DONE; step = query.step()) {
        if (step != SQLITE_ROW) {
            return fail(std::nullopt);
        }
        records.push_back(recordFrom(query));
    }
    return records;
}
