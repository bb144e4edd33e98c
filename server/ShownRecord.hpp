#pragma once

#include <cstddef>
#include <optional>

#include "ScoreStore.hpp"
#include "TableCache.hpp"

// A record of a level's table as the game and the web board show it: with
// unverified times, unless the server lists verified ones only, so that its
// position is not its place in the verified table.
struct ShownRecord {
    // Empty when the table has no record at that position.
    std::optional<BestTime> row;
    // The name's verified best with its run and route; its run is "" when the
    // record is not verified.
    VerifiedBest verified;
};

// The record at `position` (from 1) of the shown table, its verified run
// found by the record's name; empty when the store cannot be read.
std::optional<ShownRecord> shownRecord(TableCache& tables, ScoreStore& store, int mode, int levelId,
                                       std::size_t position);
