#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ScoreStore.hpp"
#include "ServerBoards.hpp"

// A board as a player sees it: every level's table with days and verified
// marks, and every level's verified table with its runs and routes, one
// record a line; the game's own levels, then the race levels whose files have
// these hashes, named by their first eight hex digits.
std::string dumpBoard(ScoreStore& store, const std::vector<std::string>& customRaces = {});

// Runs SQL straight on a board, past the store: the result rows, one per
// line, fields joined by '|'; empty when it failed.
std::optional<std::string> rawQuery(Backend backend, const std::string& board,
                                    const std::string& sql);

// A board file as the first servers wrote it: no version table, version 1 in
// SQLite's user_version, and `extraSql` run after it. Level 250 holds a tie
// (al arrived before bob, though on a later day) behind cy; level 20057
// holds al.
bool writeVersion1File(const std::string& path, const std::string& extraSql = "");

// A new board of the test's store, opened as the server opens it.
class StoreTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        ASSERT_FALSE(board.empty()) << testCluster().error();
        std::string error;
        store = openScoreStore(board, error);
        ASSERT_TRUE(store) << error;
    }

    TempFolder folder;
    const std::string board = newBoard(GetParam(), folder);
    std::unique_ptr<ScoreStore> store;
};
