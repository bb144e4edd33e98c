#include <gtest/gtest.h>

#include "NetworkStandIns.hpp"
#include "TestTables.hpp"
#include "game/FinishSequence.hpp"
#include "game/PostFinishTable.hpp"
#include "game/ScreenKeys.hpp"

// The table after a finish without a window: where it opens, how it scrolls,
// which rows are the player's, and what a broken answer does. What the step
// does with the server and with key presses is its scene test's business.

namespace {

// A post-finish step that has sent its time and received `table`.
struct ShownTable {
    explicit ShownTable(HighscoreTable fetched) : step(refusingAddress()) {
        finish.phase = FinishPhase::fetching;
        bool jump = false;
        step.receiveTable(std::move(fetched), TableAnswer::table, "racer", finish, jump);
    }

    unsigned first() const { return step.scores().firstShown; }
    unsigned press(PlayKey key) {
        keys.apply(PlayInput::pressed(key));
        step.scroll(keys, "racer");
        EXPECT_FALSE(keys.upPressed || keys.downPressed) << "a press moves the table once";
        return first();
    }

    PostFinishTable step;
    FinishSequence finish;
    ScreenKeys keys;
};

}  // namespace

TEST(PostFinishScroll, OpensOnTheOwnRecordMovesByFiveAndRowsMarkTheOwnName) {
    ShownTable thirty(tableOf(30, 20));
    EXPECT_EQ(thirty.first(), 11u) << "own record on the tenth row";
    // The rows start at the first shown record and mark the own name.
    std::vector<ShownRecord> rows = PostFinishTable::shownRecords(thirty.step.scores(), "racer");
    ASSERT_EQ(rows.size(), PostFinishTable::maxRows);
    EXPECT_EQ(rows.front().record, 11u);
    EXPECT_EQ(rows.back().record, 28u);
    for (const ShownRecord& row : rows) {
        EXPECT_EQ(row.own, row.record == 20u) << row.record;
    }
    // Up stops at the top; Down stops with the last record on the ninth row;
    // any other key does not move it.
    using K = PlayKey;
    std::vector<unsigned> firsts;
    for (K key :
         {K::up, K::up, K::up, K::up, K::down, K::down, K::down, K::down, K::down, K::space}) {
        firsts.push_back(thirty.press(key));
    }
    EXPECT_EQ(firsts, (std::vector<unsigned>{6, 1, 0, 0, 5, 10, 15, 20, 21, 21}));
    rows = PostFinishTable::shownRecords(thirty.step.scores(), "racer");
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows.back().record, 29u);

    ShownTable six(tableOf(6, 2));
    EXPECT_EQ(six.first(), 0u);
    EXPECT_EQ(six.press(PlayKey::down), 0u) << "a short table never moves";

    ShownTable notListed(tableOf(40));
    EXPECT_EQ(notListed.first(), 0u) << "without an own record the table opens at the top";
    EXPECT_EQ(notListed.press(PlayKey::down), 5u);

    // The name is compared byte for byte, and every record under it is marked.
    HighscoreTable twice = tableOf(4, 1);
    twice.tokens[4 * 3 + 2] = "racer";
    twice.tokens[4 * 2 + 2] = "Racer";
    EXPECT_EQ(PostFinishTable::shownRecords(twice, "racer"),
              (std::vector<ShownRecord>{{0, false}, {1, true}, {2, false}, {3, true}}));
    EXPECT_TRUE(PostFinishTable::shownRecords(HighscoreTable(), "racer").empty());
}

TEST(PostFinishStep, ATableWithoutACompleteRecordEndsTheStepAndResetForgetsIt) {
    HighscoreTable three;
    three.tokens = {"1", "2026-12-06", "racer"};
    ShownTable broken(three);
    EXPECT_EQ(broken.finish.phase, FinishPhase::showingTable);
    EXPECT_TRUE(broken.step.endWithoutRecords(broken.finish));
    EXPECT_EQ(broken.finish.phase, FinishPhase::leaving) << "the finish fades out and goes on";

    ShownTable one(tableOf(1, 0));
    EXPECT_FALSE(one.step.endWithoutRecords(one.finish));
    EXPECT_EQ(one.finish.phase, FinishPhase::showingTable) << "one record is a table to show";

    ShownTable shown(tableOf(30, 20));
    shown.step.reset();
    EXPECT_EQ(shown.step.scores().recordCount(), 0u);
    EXPECT_EQ(shown.step.scores().firstShown, 0u);
    EXPECT_EQ(shown.step.scores().ownRecord, HighscoreTable::kNoRecord);
    bool jump = true;
    shown.step.dropPressesFromWait(jump);
    EXPECT_TRUE(jump) << "the next level's first press is its own";
}
