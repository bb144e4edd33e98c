// The keys of custom levels in a SQLite board.
#include <sqlite3.h>

#include "SqliteScoreStore.hpp"
#include "SqliteStatement.hpp"

namespace {

// Under SQLite's write lock the smallest key less one is free: keys count
// down from -1.
constexpr const char* kAddLevel = R"sql(
INSERT INTO custom_levels (level, sha256)
VALUES ((SELECT COALESCE(MIN(level), 0) - 1 FROM custom_levels), ?1)
ON CONFLICT (sha256) DO NOTHING
)sql";
constexpr const char* kLevelKey = "SELECT level FROM custom_levels WHERE sha256 = ?1";
constexpr const char* kAllLevels = "SELECT level, sha256 FROM custom_levels ORDER BY level DESC";
// The version that brought custom levels.
constexpr int kCustomLevelsVersion = 4;

}  // namespace

std::optional<std::vector<int>> SqliteScoreStore::customLevelKeys(
    const std::vector<std::string>& sha256s) {
    if (sha256s.empty()) {
        return std::vector<int>();
    }
    std::lock_guard lock(mutex);
    if (!beginWrite()) {
        return std::nullopt;
    }
    std::vector<int> keys;
    for (const std::string& sha256 : sha256s) {
        SqliteStatement add(db, kAddLevel);
        SqliteStatement read(db, kLevelKey);
        if (!add || !add.bind(1, sha256) || add.step() != SQLITE_DONE || !read ||
            !read.bind(1, sha256) || read.step() != SQLITE_ROW) {
            return rollBack(std::nullopt);
        }
        keys.push_back(read.intColumn(0));
    }
    if (!execute("COMMIT")) {
        return rollBack(std::nullopt);
    }
    return keys;
}

std::optional<std::vector<CustomLevelKey>> SqliteScoreStore::allCustomLevels() {
    std::lock_guard lock(mutex);
    std::vector<CustomLevelKey> levels;
    if (version < kCustomLevelsVersion) {
        return levels;
    }
    SqliteStatement query(db, kAllLevels);
    for (int step = query.step(); step != SQLITE_DONE; step = query.step()) {
        if (step != SQLITE_ROW) {
            return fail(std::nullopt);
        }
        levels.push_back({query.intColumn(0), query.textColumn(1)});
    }
    return levels;
}
