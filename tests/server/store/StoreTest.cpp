#include <gtest/gtest.h>

#include <regex>

#include "StoreFixtures.hpp"

// The stores themselves, SQLite and PostgreSQL alike: verified times beside
// the normal ones, and custom levels' keys.

namespace {

using Outcome = ScoreStore::SubmitOutcome;

using Store = StoreTest;

// One submission on level 250, and the board after it: the normal table
// marks "v" where the best time is also the verified best; the verified
// table lists the runs.
struct Step {
    const char* name;
    float seconds;
    const char* run;  // nullptr for a normal submission
    Outcome outcome;
    const char* board;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Backends, Store, bothBackends(), backendName);

TEST_P(Store, VerifiedTimesKeepATableOfTheirOwn) {
    const Step steps[] = {
        {"alice", 20, "A20", Outcome::NewBest, "alice 20 v\nverified alice 20 A20\n"},
        {"bob", 15, nullptr, Outcome::NewBest, "bob 15\nalice 20 v\nverified alice 20 A20\n"},
        {"carol", 15, "C15", Outcome::NewBest,
         "bob 15\ncarol 15 v\nalice 20 v\nverified carol 15 C15\nverified alice 20 A20\n"},
        // Faster but unproven: the mark goes, the verified record stays.
        {"alice", 18, nullptr, Outcome::NewBest,
         "bob 15\ncarol 15 v\nalice 18\nverified carol 15 C15\nverified alice 20 A20\n"},
        // A better verified time that is not a better time.
        {"alice", 19, "A19", Outcome::NewBest,
         "bob 15\ncarol 15 v\nalice 18\nverified carol 15 C15\nverified alice 19 A19\n"},
        {"alice", 19, "A19b", Outcome::Kept,
         "bob 15\ncarol 15 v\nalice 18\nverified carol 15 C15\nverified alice 19 A19\n"},
        // Proving the best time marks it without moving it.
        {"alice", 18, "A18", Outcome::NewBest,
         "bob 15\ncarol 15 v\nalice 18 v\nverified carol 15 C15\nverified alice 18 A18\n"},
        {"dave", 15, "D15", Outcome::NewBest,
         "bob 15\ncarol 15 v\ndave 15 v\nalice 18 v\n"
         "verified carol 15 C15\nverified dave 15 D15\nverified alice 18 A18\n"},
        // bob keeps his early place among equal times, but his proof came last.
        {"bob", 15, "B15", Outcome::NewBest,
         "bob 15 v\ncarol 15 v\ndave 15 v\nalice 18 v\nverified carol 15 C15\n"
         "verified dave 15 D15\nverified bob 15 B15\nverified alice 18 A18\n"},
    };
    for (const Step& step : steps) {
        const SubmissionRequest submission{step.name, 1, 250, step.seconds};
        const Outcome outcome =
            step.run ? store->submitVerified(submission, step.run, "id of " + std::string(step.run),
                                             "2024-05-01")
                     : store->submit(submission, "2024-05-01");
        SCOPED_TRACE(std::string(step.name) + " " + (step.run ? step.run : "unverified"));
        EXPECT_EQ(outcome, step.outcome);
        // The board without the level and the day every record shares.
        EXPECT_EQ(std::regex_replace(dumpBoard(*store), std::regex("1/250 | 2024-05-01"), ""),
                  step.board);
    }
    EXPECT_EQ(store->verifiedRun(1, 250, 5), "");
    EXPECT_EQ(store->verifiedRun(1, 250, 0), "");
    EXPECT_EQ(store->verifiedRun(1, 275, 1), "");
    EXPECT_EQ(store->table(1, 250, 2, true)->size(), 2u);
    EXPECT_TRUE(*store->nameTaken("dave"));
    EXPECT_TRUE(store->heartbeat("test"));
}

TEST(PostgresStore, CarriesOnWhenTheDatabaseDropsItsConnections) {
    const std::string board = testCluster().createDatabase();
    ASSERT_FALSE(board.empty()) << testCluster().error();
    std::string error;
    const auto store = openScoreStore(board, error);
    ASSERT_TRUE(store) << error;
    ASSERT_EQ(store->submit({"al", 1, 250, 20}, "2024-01-01"), Outcome::NewBest);

    // As when the database restarts: every session on the board ends.
    ASSERT_TRUE(testCluster().query(board,
                                    "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE datname = current_database() AND pid <> "
                                    "pg_backend_pid()"))
        << testCluster().error();
    EXPECT_EQ(store->submit({"bob", 1, 250, 21}, "2024-01-01"), Outcome::NewBest)
        << store->lastError();
    EXPECT_EQ(store->table(1, 250, 10)->size(), 2u);
}

TEST_P(Store, CustomLevelsGetNegativeKeysOnceForEveryServerOfTheBoard) {
    const std::string a(64, 'a');
    const std::string b(64, 'b');
    const std::string c(64, 'c');
    EXPECT_EQ(store->customLevelKeys({a, b}), (std::vector<int>{-1, -2}));
    EXPECT_EQ(store->customLevelKeys({}), std::vector<int>{});
    // Another server of the board, asking in another order and for one more.
    std::string error;
    const auto other = openScoreStore(board, error);
    ASSERT_TRUE(other) << error;
    EXPECT_EQ(other->customLevelKeys({b, c, a}), (std::vector<int>{-2, -3, -1}));

    // Their tables are apart from each other and from the game's levels.
    ASSERT_EQ(store->submit({"ann", 1, -1, 10}, "2026-01-01"), Outcome::NewBest);
    ASSERT_EQ(other->submit({"ann", 1, -2, 20}, "2026-01-01"), Outcome::NewBest);
    for (const auto& [level, seconds] : {std::pair{-1, 10.0f}, {-2, 20.0f}}) {
        const auto rows = other->table(1, level, 10);
        ASSERT_TRUE(rows && rows->size() == 1) << level;
        EXPECT_EQ(rows->front().seconds, seconds);
    }
    EXPECT_TRUE(store->table(1, 250, 10)->empty());
}
