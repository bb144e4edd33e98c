#include "ScoreStore.hpp"

#include <sqlite3.h>

namespace {

// Bumped when the tables change shape; a newer file is left alone.
constexpr int kSchemaVersion = 1;
// How long a call waits for another process holding the file, in ms.
constexpr int kBusyTimeoutMs = 5000;

constexpr const char* kCreateSchema = R"sql(
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
)sql";

// `arrival` counts submissions that changed a table, so equal times keep the
// order in which they came in; it only ever grows because rows are never
// deleted and every write takes the largest value plus one.
constexpr const char* kSubmit = R"sql(
INSERT INTO best_times (mode, level, name, seconds, arrival, day)
VALUES (?1, ?2, ?3, ?4, (SELECT COALESCE(MAX(arrival), 0) + 1 FROM best_times), ?5)
ON CONFLICT (mode, level, name) DO UPDATE
    SET seconds = excluded.seconds, arrival = excluded.arrival, day = excluded.day
    WHERE excluded.seconds < best_times.seconds
)sql";

constexpr const char* kTable = R"sql(
SELECT name, seconds, day FROM best_times
WHERE mode = ?1 AND level = ?2
ORDER BY seconds, arrival
LIMIT ?3
)sql";

constexpr const char* kNameTaken = "SELECT 1 FROM best_times WHERE name = ?1 LIMIT 1";

// A prepared statement that is finalised however the call ends.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            statement = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return statement != nullptr; }
    sqlite3_stmt* get() const { return statement; }

    bool bind(int index, int value) {
        return sqlite3_bind_int(statement, index, value) == SQLITE_OK;
    }
    bool bind(int index, double value) {
        return sqlite3_bind_double(statement, index, value) == SQLITE_OK;
    }
    bool bind(int index, const std::string& value) {
        return sqlite3_bind_text(statement, index, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }

  private:
    sqlite3_stmt* statement = nullptr;
};

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    const int bytes = sqlite3_column_bytes(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes))
                : std::string();
}

// The schema version stored in the file, or -1 when it cannot be read. The
// statement is finished before returning: an open read would block the switch
// to WAL mode.
int readUserVersion(sqlite3* db) {
    Statement version(db, "PRAGMA user_version");
    if (!version || sqlite3_step(version.get()) != SQLITE_ROW) {
        return -1;
    }
    return sqlite3_column_int(version.get(), 0);
}

}  // namespace

ScoreStore::~ScoreStore() {
    // Closing the last connection folds the write-ahead log back into the file.
    sqlite3_close(db);
}

bool ScoreStore::execute(const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string ScoreStore::lastError() {
    std::lock_guard lock(mutex);
    return db ? sqlite3_errmsg(db) : "no database";
}

bool ScoreStore::open(const std::string& path, std::string& error) {
    std::lock_guard lock(mutex);
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        db = nullptr;
        return false;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);

    const int fileVersion = readUserVersion(db);
    if (fileVersion < 0) {
        error = sqlite3_errmsg(db);
        return false;
    }
    if (fileVersion > kSchemaVersion) {
        error =
            "the file was written by a newer server (schema " + std::to_string(fileVersion) + ")";
        return false;
    }

    // WAL with FULL syncs the log on every commit: an answered submission is on
    // disk. The journal mode is stored in the file; synchronous is per connection.
    if (!execute("PRAGMA journal_mode = WAL") || !execute("PRAGMA synchronous = FULL") ||
        !execute(kCreateSchema) ||
        !execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str())) {
        error = sqlite3_errmsg(db);
        return false;
    }
    Statement mode(db, "PRAGMA journal_mode");
    if (!mode || sqlite3_step(mode.get()) != SQLITE_ROW || columnText(mode.get(), 0) != "wal") {
        error = "the file cannot be put in WAL mode";
        return false;
    }
    return true;
}

std::optional<bool> ScoreStore::nameTaken(const std::string& name) {
    std::lock_guard lock(mutex);
    Statement query(db, kNameTaken);
    if (!query || !query.bind(1, name)) {
        return std::nullopt;
    }
    const int step = sqlite3_step(query.get());
    if (step == SQLITE_ROW) {
        return true;
    }
    if (step == SQLITE_DONE) {
        return false;
    }
    return std::nullopt;
}

ScoreStore::SubmitOutcome ScoreStore::submit(const SubmissionRequest& submission,
                                             const std::string& day) {
    std::lock_guard lock(mutex);
    Statement insert(db, kSubmit);
    if (!insert || !insert.bind(1, submission.mode) || !insert.bind(2, submission.levelId) ||
        !insert.bind(3, submission.name) ||
        !insert.bind(4, static_cast<double>(submission.seconds)) || !insert.bind(5, day)) {
        return SubmitOutcome::Failed;
    }
    if (sqlite3_step(insert.get()) != SQLITE_DONE) {
        return SubmitOutcome::Failed;
    }
    return sqlite3_changes(db) > 0 ? SubmitOutcome::NewBest : SubmitOutcome::Kept;
}

std::optional<std::vector<BestTime>> ScoreStore::table(int mode, int levelId, std::size_t limit) {
    std::lock_guard lock(mutex);
    Statement query(db, kTable);
    if (!query || !query.bind(1, mode) || !query.bind(2, levelId) ||
        !query.bind(3, static_cast<int>(limit))) {
        return std::nullopt;
    }
    std::vector<BestTime> rows;
    for (;;) {
        const int step = sqlite3_step(query.get());
        if (step == SQLITE_DONE) {
            return rows;
        }
        if (step != SQLITE_ROW) {
            return std::nullopt;
        }
        BestTime row;
        row.name = columnText(query.get(), 0);
        row.seconds = static_cast<float>(sqlite3_column_double(query.get(), 1));
        row.day = columnText(query.get(), 2);
        rows.push_back(std::move(row));
    }
}

bool ScoreStore::ping() {
    std::lock_guard lock(mutex);
    Statement query(db, "SELECT 1");
    return query && sqlite3_step(query.get()) == SQLITE_ROW;
}
