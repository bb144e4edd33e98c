#include "BoardImport.hpp"

#include <cstdio>

#include "PostgresScoreStore.hpp"
#include "SqliteScoreStore.hpp"

namespace {

int failWith(const std::string& text) {
    std::fprintf(stderr, "rollavortex-highscored: %s\n", text.c_str());
    return 1;
}

}  // namespace

int importSqliteBoard(const std::string& sqlitePath, const std::string& targetUri) {
    std::string error;
    const auto source = SqliteScoreStore::openToCopy(sqlitePath, error);
    if (!source) {
        return failWith("cannot read " + sqlitePath + ": " + error);
    }
    const auto records = source->allRecords();
    const auto boardRuns = source->allBoardRuns();
    if (!records || !boardRuns) {
        return failWith("cannot read " + sqlitePath + ": " + source->lastError());
    }
    const auto target = PostgresScoreStore::open(targetUri, error);
    if (!target) {
        return failWith("cannot open database: " + error);
    }
    switch (target->copyIn(*records, *boardRuns)) {
        case PostgresScoreStore::CopyOutcome::Copied:
            std::printf("copied %zu records from %s\n", records->size(), sqlitePath.c_str());
            return 0;
        case PostgresScoreStore::CopyOutcome::TargetNotEmpty:
            return failWith(
                "the target board already holds records; --import-sqlite only fills an empty "
                "board, so nothing was copied");
        case PostgresScoreStore::CopyOutcome::Failed:
            break;
    }
    return failWith("the copy failed and nothing was copied: " + target->lastError());
}
