#include "BoardImport.hpp"

#include <cstdio>
#include <map>

#include "PostgresScoreStore.hpp"
#include "SqliteScoreStore.hpp"

namespace {

int failWith(const std::string& text) {
    std::fprintf(stderr, "rollavortex-highscored: %s\n", text.c_str());
    return 1;
}

// The target's keys of the source's custom levels, which the target may
// already number otherwise (a server ran on it before the copy); empty when
// the target failed.
std::optional<std::map<int, int>> targetKeys(PostgresScoreStore& target,
                                             const std::vector<CustomLevelKey>& levels) {
    std::vector<std::string> hashes;
    for (const CustomLevelKey& level : levels) {
        hashes.push_back(level.sha256);
    }
    const auto keys = target.customLevelKeys(hashes);
    if (!keys) {
        return std::nullopt;
    }
    std::map<int, int> renumbered;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        renumbered[levels[i].levelId] = (*keys)[i];
    }
    return renumbered;
}

template <typename Row>
void renumber(std::vector<Row>& rows, const std::map<int, int>& keys) {
    for (Row& row : rows) {
        if (const auto key = keys.find(row.levelId); key != keys.end()) {
            row.levelId = key->second;
        }
    }
}

}  // namespace

int importSqliteBoard(const std::string& sqlitePath, const std::string& targetUri) {
    std::string error;
    const auto source = SqliteScoreStore::openToCopy(sqlitePath, error);
    if (!source) {
        return failWith("cannot read " + sqlitePath + ": " + error);
    }
    auto records = source->allRecords();
    auto boardRuns = source->allBoardRuns();
    const auto customLevels = source->allCustomLevels();
    if (!records || !boardRuns || !customLevels) {
        return failWith("cannot read " + sqlitePath + ": " + source->lastError());
    }
    const auto target = PostgresScoreStore::open(targetUri, error);
    if (!target) {
        return failWith("cannot open database: " + error);
    }
    const auto keys = targetKeys(*target, *customLevels);
    if (!keys) {
        return failWith("the copy failed and nothing was copied: " + target->lastError());
    }
    renumber(*records, *keys);
    renumber(*boardRuns, *keys);
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
