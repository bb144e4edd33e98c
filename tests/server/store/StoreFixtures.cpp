#include "StoreFixtures.hpp"

#include <sqlite3.h>

#include <iterator>

#include "sim/base/PlainDecimal.hpp"

namespace {

struct Level {
    int mode;
    int id;
    std::string name;
};
const Level kLevels[] = {
    {1, 250, "250"}, {1, 275, "275"}, {2, 20000, "20000"}, {2, 20057, "20057"}};

// The first server's tables, rows in no particular order.
constexpr const char* kVersion1File = R"sql(
CREATE TABLE best_times (
    mode    INTEGER NOT NULL,
    level   INTEGER NOT NULL,
    name    TEXT    NOT NULL,
    seconds REAL    NOT NULL,
    arrival INTEGER NOT NULL,
    day     TEXT    NOT NULL,
    PRIMARY KEY (mode, level, name)
) WITHOUT ROWID;
CREATE INDEX best_times_order ON best_times (mode, level, seconds, arrival);
CREATE INDEX best_times_name ON best_times (name);
CREATE INDEX best_times_arrival ON best_times (arrival);
INSERT INTO best_times VALUES (1, 250, 'bob', 20.5, 7, '2024-01-01');
INSERT INTO best_times VALUES (2, 20057, 'al', 99.125, 1, '2023-12-31');
INSERT INTO best_times VALUES (1, 250, 'cy', 12.25, 9, '2024-02-03');
INSERT INTO best_times VALUES (1, 250, 'al', 20.5, 3, '2024-01-02');
PRAGMA user_version = 1;
)sql";

int collectRow(void* text, int columns, char** values, char**) {
    auto& out = *static_cast<std::string*>(text);
    for (int c = 0; c < columns; ++c) {
        out += (c ? "|" : "") + std::string(values[c] ? values[c] : "");
    }
    out += "\n";
    return 0;
}

std::optional<std::string> sqliteQuery(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string text;
    const bool done = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                      sqlite3_exec(db, sql.c_str(), collectRow, &text, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return done ? std::optional(text) : std::nullopt;
}

}  // namespace

std::string dumpBoard(ScoreStore& store, const std::vector<std::string>& customRaces) {
    std::vector<Level> levels(std::begin(kLevels), std::end(kLevels));
    const auto keys = store.customLevelKeys(customRaces);
    if (!keys) {
        return "unreadable: " + store.lastError();
    }
    for (std::size_t i = 0; i < customRaces.size(); ++i) {
        levels.push_back({1, (*keys)[i], customRaces[i].substr(0, 8)});
    }
    std::string text;
    for (const Level& level : levels) {
        const std::string where = std::to_string(level.mode) + "/" + level.name;
        for (const bool verifiedOnly : {false, true}) {
            const auto rows = store.table(level.mode, level.id, 100, verifiedOnly);
            if (!rows) {
                return "unreadable: " + store.lastError();
            }
            for (std::size_t r = 0; r < rows->size(); ++r) {
                const BestTime& row = (*rows)[r];
                text += (verifiedOnly ? "verified " : "") + where + " " + row.name + " " +
                        plainDecimal(row.seconds) + " " + row.day;
                text +=
                    verifiedOnly
                        ? " " +
                              store.verifiedRun(level.mode, level.id, r + 1).value_or("unreadable")
                        : std::string(row.verified ? " v" : "");
                if (verifiedOnly) {
                    const auto best = store.verifiedBest(level.mode, level.id, row.name);
                    text += !best                 ? " unreadable"
                            : best->route.empty() ? ""
                                                  : " route " + std::to_string(best->route.size()) +
                                                        " bytes " + best->route;
                }
                text += "\n";
            }
        }
    }
    return text;
}

std::optional<std::string> rawQuery(Backend backend, const std::string& board,
                                    const std::string& sql) {
    return backend == Backend::Sqlite ? sqliteQuery(board, sql) : testCluster().query(board, sql);
}

bool writeVersion1File(const std::string& path, const std::string& extraSql) {
    return sqliteQuery(path, kVersion1File + extraSql).has_value();
}
