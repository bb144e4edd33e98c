#include "ScoreStore.hpp"

#include "PostgresScoreStore.hpp"
#include "SqliteScoreStore.hpp"

bool isPostgresLocation(const std::string& location) {
    return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::unique_ptr<ScoreStore> openScoreStore(const std::string& location, std::string& error) {
    if (isPostgresLocation(location)) {
        return PostgresScoreStore::open(location, error);
    }
    return SqliteScoreStore::open(location, error);
}
