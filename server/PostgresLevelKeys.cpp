// The keys of custom levels in a PostgreSQL board.
#include <cstdlib>

#include "PostgresScoreStore.hpp"

namespace {

// Servers starting together may add the same level: the unique hash lets one
// of them add it, and the others read the key it got. The read is a
// statement of its own, so it sees a row another server committed meanwhile.
// A known level takes no number from the sequence.
constexpr const char* kAddLevel = R"sql(
INSERT INTO custom_levels (sha256)
SELECT $1::text WHERE NOT EXISTS (SELECT 1 FROM custom_levels WHERE sha256 = $1::text)
ON CONFLICT (sha256) DO NOTHING
)sql";
constexpr const char* kLevelKey = "SELECT level FROM custom_levels WHERE sha256 = $1";

}  // namespace

std::optional<std::vector<int>> PostgresScoreStore::customLevelKeys(
    const std::vector<std::string>& sha256s) {
    return withConnection([&](PGconn* connection) -> std::optional<std::vector<int>> {
        std::vector<int> keys;
        PgResult result = runScript(connection, "BEGIN");
        for (auto sha256 = sha256s.begin(); succeeded(result) && sha256 != sha256s.end();
             ++sha256) {
            result = runSql(connection, kAddLevel, {*sha256});
            if (succeeded(result)) {
                result = runSql(connection, kLevelKey, {*sha256});
            }
            if (succeeded(result) && PQntuples(result.get()) == 1) {
                keys.push_back(std::atoi(PQgetvalue(result.get(), 0, 0)));
            }
        }
        if (succeeded(result)) {
            result = runScript(connection, "COMMIT");
        }
        if (!succeeded(result) || keys.size() != sha256s.size()) {
            return rollBack(connection, result, std::nullopt);
        }
        return keys;
    });
}
