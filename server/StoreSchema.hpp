#pragma once

#include <string>

// The shape of the highscore tables, the same in every kind of store.
// Version 1: best time per mode, level and name. Version 2 adds the best
// verified time with its run text. Version 3 adds the identities of the runs
// that were on the board, the queue of runs waiting for their verdict, a
// heartbeat row that proves a write, and room for a verified run's route.
// Version 4 adds the keys of custom levels: the tables name every level by an
// integer, a shipped level by its id and a custom level by a negative key
// given to its file's SHA-256 once, for every server sharing the store.
constexpr int kStoreSchemaVersion = 4;

// Why a store written by a newer server is left alone: its tables may hold
// what this server would lose.
inline std::string newerSchemaRefusal(int foundVersion) {
    return "the tables were written by a newer server (schema version " +
           std::to_string(foundVersion) + ", this server knows up to " +
           std::to_string(kStoreSchemaVersion) + "); they are left untouched";
}

// Records the current version in the version table, created when missing.
inline std::string schemaVersionWrite() {
    return "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL);"
           "DELETE FROM schema_version;"
           "INSERT INTO schema_version (version) VALUES (" +
           std::to_string(kStoreSchemaVersion) + ");";
}
