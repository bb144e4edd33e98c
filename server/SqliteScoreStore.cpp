#include "SqliteScoreStore.hpp"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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
    R"sql(
ALTER TABLE best_times ADD COLUMN verified_sha256 TEXT;
ALTER TABLE best_times ADD COLUMN verified_route BLOB;
CREATE TABLE board_runs (
    sha256 TEXT    PRIMARY KEY,
    mode   INTEGER NOT NULL,
    level  INTEGER NOT NULL,
    name   TEXT    NOT NULL
) WITHOUT ROWID;
CREATE TABLE pending_runs (
    id          INTEGER PRIMARY KEY AUTOINCREMENT,
    client      TEXT    NOT NULL,
    name        TEXT    NOT NULL,
    mode        INTEGER NOT NULL,
    level       INTEGER NOT NULL,
    seconds     REAL    NOT NULL,
    day         TEXT    NOT NULL,
    run         BLOB    NOT NULL,
    sha256      TEXT    NOT NULL,
    attempts    INTEGER NOT NULL DEFAULT 0,
    taken_by    TEXT,
    taken_until INTEGER
);
CREATE INDEX pending_runs_client ON pending_runs (client);
CREATE INDEX pending_runs_name ON pending_runs (name);
CREATE INDEX pending_runs_sha256 ON pending_runs (sha256);
CREATE TABLE heartbeat (
    id     INTEGER PRIMARY KEY CHECK (id = 1),
    beat   INTEGER NOT NULL,
    server TEXT    NOT NULL
);
)sql",
    R"sql(
CREATE TABLE custom_levels (
    level  INTEGER PRIMARY KEY CHECK (level < 0),
    sha256 TEXT    NOT NULL UNIQUE
);
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
SET verified_seconds = ?4, verified_day = ?5, verified_run = ?6, verified_sha256 = ?7,
    verified_route = NULLIF(?8, X''),
    verified_arrival = (SELECT COALESCE(MAX(verified_arrival), 0) + 1 FROM best_times)
WHERE mode = ?1 AND level = ?2 AND name = ?3
    AND (verified_seconds IS NULL OR ?4 < verified_seconds)
)sql";
// Runs after a changed kSubmitVerified: the run is on the board now, and
// stays known as this name's when a faster one replaces it.
constexpr const char* kNoteBoardRun = R"sql(
INSERT INTO board_runs (sha256, mode, level, name) VALUES (?1, ?2, ?3, ?4)
ON CONFLICT (sha256) DO NOTHING
)sql";
constexpr const char* kBoardRunOwner = "SELECT name FROM board_runs WHERE sha256 = ?1";

constexpr const char* kHeartbeat = R"sql(
INSERT INTO heartbeat (id, beat, server) VALUES (1, ?1, ?2)
ON CONFLICT (id) DO UPDATE SET beat = excluded.beat, server = excluded.server
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

constexpr const char* kVerifiedBest = R"sql(
SELECT verified_seconds, verified_arrival, verified_day, verified_run, verified_sha256,
       verified_route
FROM best_times
WHERE mode = ?1 AND level = ?2 AND name = ?3 AND verified_seconds IS NOT NULL
)sql";

constexpr const char* kNameTaken = "SELECT 1 FROM best_times WHERE name = ?1 LIMIT 1";

constexpr const char* kAllRecords = R"sql(
SELECT mode, level, name, seconds, arrival, day,
       verified_seconds, verified_arrival, verified_day, verified_run, verified_sha256,
       verified_route
FROM best_times ORDER BY arrival
)sql";
// A version 1 board has no verified columns, a version 2 board no identities
// or routes.
constexpr const char* kAllRecordsVersion1 = R"sql(
SELECT mode, level, name, seconds, arrival, day, NULL, NULL, NULL, NULL, NULL, NULL
FROM best_times ORDER BY arrival
)sql";
constexpr const char* kAllRecordsVersion2 = R"sql(
SELECT mode, level, name, seconds, arrival, day,
       verified_seconds, verified_arrival, verified_day, verified_run, NULL, NULL
FROM best_times ORDER BY arrival
)sql";
constexpr const char* kAllBoardRuns = "SELECT mode, level, name, sha256 FROM board_runs";

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

// The verified columns from seconds to route, starting at `first`.
VerifiedBest verifiedFrom(const SqliteStatement& row, int first) {
    return {row.doubleColumn(first),   row.int64Column(first + 1), row.textColumn(first + 2),
            row.blobColumn(first + 3), row.textColumn(first + 4),  row.blobColumn(first + 5)};
}

StoredRecord recordFrom(const SqliteStatement& row) {
    StoredRecord record{row.intColumn(0),    row.intColumn(1),   row.textColumn(2),
                        row.doubleColumn(3), row.int64Column(4), row.textColumn(5),
                        std::nullopt};
    if (!row.isNull(6)) {
        record.verified = verifiedFrom(row, 6);
    }
    return record;
}

std::int64_t epochMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void SqliteScoreStore::noteFailure() {
    lastFailure = sqlite3_errmsg(db);
}

bool SqliteScoreStore::noteFile() {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    fileDevice = status.st_dev;
    fileInode = status.st_ino;
    return true;
}

bool SqliteScoreStore::fileIsOurs() {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || status.st_dev != fileDevice ||
        status.st_ino != fileInode) {
        lastFailure = "the database file " + path + " was removed or replaced";
        return false;
    }
    if (::access(path.c_str(), W_OK) != 0) {
        lastFailure = "the database file " + path + " is read-only";
        return false;
    }
    return true;
}

bool SqliteScoreStore::beginWrite() {
    return fileIsOurs() && (execute("BEGIN IMMEDIATE") || fail(false));
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
    std::unique_ptr<SqliteScoreStore> store(new SqliteScoreStore(db, path));
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
    if (!store->noteFile()) {
        error = "the file cannot be found after opening it";
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

bool SqliteScoreStore::heartbeat(const std::string& server) {
    std::lock_guard lock(mutex);
    if (!fileIsOurs()) {
        return false;
    }
    SqliteStatement beat(db, kHeartbeat);
    return (beat && beat.bind(1, epochMilliseconds()) && beat.bind(2, server) &&
            beat.step() == SQLITE_DONE) ||
           fail(false);
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
                                    const std::string& runSha256, const std::string& route,
                                    const std::string& day, bool& changed) {
    SqliteStatement update(db, kSubmitVerified);
    if (!bindSubmission(update, submission, day) || !update.bindBlob(6, runText) ||
        !update.bind(7, runSha256) || !update.bindBlob(8, route) || update.step() != SQLITE_DONE) {
        return false;
    }
    changed = sqlite3_changes(db) > 0;
    return !changed ||
           noteBoardRun(runSha256, submission.mode, submission.levelId, submission.name);
}

bool SqliteScoreStore::noteBoardRun(const std::string& sha256, int mode, int levelId,
                                    const std::string& name) {
    SqliteStatement note(db, kNoteBoardRun);
    return note && note.bind(1, sha256) && note.bind(2, mode) && note.bind(3, levelId) &&
           note.bind(4, name) && note.step() == SQLITE_DONE;
}

std::optional<std::string> SqliteScoreStore::boardRunOwner(const std::string& sha256) {
    SqliteStatement query(db, kBoardRunOwner);
    if (!query || !query.bind(1, sha256)) {
        return std::nullopt;
    }
    const int step = query.step();
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        return std::nullopt;
    }
    return step == SQLITE_ROW ? query.textColumn(0) : "";
}

ScoreStore::SubmitOutcome SqliteScoreStore::submit(const SubmissionRequest& submission,
                                                   const std::string& day) {
    std::lock_guard lock(mutex);
    bool changed = false;
    if (!fileIsOurs()) {
        return SubmitOutcome::Failed;
    }
    if (!stepSubmission(submission, day, changed)) {
        return fail(SubmitOutcome::Failed);
    }
    return changed ? SubmitOutcome::NewBest : SubmitOutcome::Kept;
}

ScoreStore::SubmitOutcome SqliteScoreStore::submitVerified(const SubmissionRequest& submission,
                                                           const std::string& runText,
                                                           const std::string& runSha256,
                                                           const std::string& day) {
    std::lock_guard lock(mutex);
    bool newBest = false;
    bool newVerified = false;
    if (!beginWrite()) {
        return SubmitOutcome::Failed;
    }
    if (!stepSubmission(submission, day, newBest) ||
        !stepVerified(submission, runText, runSha256, "", day, newVerified) || !execute("COMMIT")) {
        return rollBack(SubmitOutcome::Failed);
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
    return step == SQLITE_ROW ? query.blobColumn(0) : "";
}

std::optional<VerifiedBest> SqliteScoreStore::verifiedBest(int mode, int levelId,
                                                           const std::string& name) {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, kVerifiedBest);
    if (!query || !query.bind(1, mode) || !query.bind(2, levelId) || !query.bind(3, name)) {
        return fail(std::nullopt);
    }
    const int step = query.step();
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        return fail(std::nullopt);
    }
    return step == SQLITE_ROW ? verifiedFrom(query, 0) : VerifiedBest{};
}

std::optional<std::vector<StoredRecord>> SqliteScoreStore::allRecords() {
    std::lock_guard lock(mutex);
    SqliteStatement query(db, version == 1   ? kAllRecordsVersion1
                              : version == 2 ? kAllRecordsVersion2
                                             : kAllRecords);
    std::vector<StoredRecord> records;
    for (int step = query.step(); step != SQLITE_DONE; step = query.step()) {
        if (step != SQLITE_ROW) {
            return fail(std::nullopt);
        }
        records.push_back(recordFrom(query));
    }
    return records;
}

std::optional<std::vector<BoardRun>> SqliteScoreStore::allBoardRuns() {
    std::lock_guard lock(mutex);
    std::vector<BoardRun> runs;
    // Identities came with version 3.
    if (version < 3) {
        return runs;
    }
    SqliteStatement query(db, kAllBoardRuns);
    for (int step = query.step(); step != SQLITE_DONE; step = query.step()) {
        if (step != SQLITE_ROW) {
            return fail(std::nullopt);
        }
        runs.push_back({query.intColumn(0), query.intColumn(1), query.textColumn(2), 0,
                        query.textColumn(3), ""});
    }
    return runs;
}
