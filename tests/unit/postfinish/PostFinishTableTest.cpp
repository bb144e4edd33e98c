#include <gtest/gtest.h>

#include <chrono>

#include "NetworkStandIns.hpp"
#include "app/ProgramObjects.hpp"
#include "game/ControlKeys.hpp"
#include "game/FinishSequence.hpp"
#include "game/PersonalBest.hpp"
#include "game/PostFinishTable.hpp"

// The step after a finish without a window: what each frame does, the table's
// scrolling, and which key presses it lets through. Requests go to a loopback
// port nobody listens on, a server that is down, which answers at once.

namespace {

constexpr int testLevelId = 9101;

// `count` records named "p0", "p1", ..., with "racer" at `ownIndex` (none
// when it is out of range).
HighscoreTable tableOf(unsigned count, unsigned ownIndex = ~0u) {
    HighscoreTable table;
    for (unsigned r = 0; r < count; ++r) {
        const std::string name = r == ownIndex ? "racer" : "p" + std::to_string(r);
        table.tokens.insert(table.tokens.end(),
                            {std::to_string(r + 1), "2026-12-06", name, std::to_string(10 + r)});
    }
    return table;
}

// A post-finish step that has sent its time and received `table`.
struct ShownTable {
    explicit ShownTable(HighscoreTable fetched) : step(refusingAddress()) {
        finish.phase = FinishPhase::fetching;
        bool jump = false;
        step.receiveTable(std::move(fetched), "racer", finish, jump);
    }

    unsigned first() const { return step.scores().firstShown; }
    unsigned press(sf::Keyboard::Key key) {
        keys.upPressed = key == sf::Keyboard::Up;
        keys.downPressed = key == sf::Keyboard::Down;
        step.scroll(keys, "racer");
        EXPECT_FALSE(keys.upPressed || keys.downPressed) << "a press moves the table once";
        return first();
    }

    PostFinishTable step;
    FinishSequence finish;
    ControlKeys keys;
};

}  // namespace

TEST(PostFinishScroll, OpensOnTheOwnRecordAndMovesByFiveWithinTheTable) {
    ShownTable thirty(tableOf(30, 20));
    EXPECT_EQ(thirty.first(), 11u) << "own record on the tenth row";
    // Down stops with the last record on the ninth row; Up stops at the top;
    // any other key does not move it.
    using K = sf::Keyboard;
    std::vector<unsigned> firsts;
    for (K::Key key :
         {K::Down, K::Down, K::Down, K::Up, K::Up, K::Up, K::Up, K::Up, K::Up, K::Space}) {
        firsts.push_back(thirty.press(key));
    }
    EXPECT_EQ(firsts, (std::vector<unsigned>{16, 21, 21, 16, 11, 6, 1, 0, 0, 0}));

    EXPECT_EQ(PostFinishTable::scrolledUp(3), 0u);
    EXPECT_EQ(PostFinishTable::scrolledUp(5), 0u);
    EXPECT_EQ(PostFinishTable::scrolledUp(6), 1u);

    ShownTable six(tableOf(6, 2));
    EXPECT_EQ(six.first(), 0u);
    EXPECT_EQ(six.press(sf::Keyboard::Down), 0u) << "a short table never moves";
    EXPECT_EQ(PostFinishTable::scrolledDown(0, 9), 0u);
    EXPECT_EQ(PostFinishTable::scrolledDown(0, 10), 1u);
    EXPECT_EQ(PostFinishTable::scrolledDown(0, 0), 0u);

    ShownTable notListed(tableOf(40));
    EXPECT_EQ(notListed.first(), 0u) << "without an own record the table opens at the top";
    EXPECT_EQ(notListed.press(sf::Keyboard::Down), 5u);
}

TEST(PostFinishScroll, RowsStartAtTheFirstShownRecordAndMarkTheOwnName) {
    ShownTable thirty(tableOf(30, 20));
    std::vector<ShownRecord> rows = PostFinishTable::shownRecords(thirty.step.scores(), "racer");
    ASSERT_EQ(rows.size(), PostFinishTable::maxRows);
    EXPECT_EQ(rows.front().record, 11u);
    EXPECT_EQ(rows.back().record, 28u);
    for (const ShownRecord& row : rows) {
        EXPECT_EQ(row.own, row.record == 20u) << row.record;
    }

    thirty.press(sf::Keyboard::Down);
    thirty.press(sf::Keyboard::Down);
    rows = PostFinishTable::shownRecords(thirty.step.scores(), "racer");
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows.back().record, 29u);

    // The name is compared byte for byte, and every record under it is marked.
    HighscoreTable twice = tableOf(4, 1);
    twice.tokens[4 * 3 + 2] = "racer";
    twice.tokens[4 * 2 + 2] = "Racer";
    EXPECT_EQ(PostFinishTable::shownRecords(twice, "racer"),
              (std::vector<ShownRecord>{{0, false}, {1, true}, {2, false}, {3, true}}));
    EXPECT_TRUE(PostFinishTable::shownRecords(HighscoreTable(), "racer").empty());
}

TEST(PostFinishStep, ATableWithoutACompleteRecordEndsTheStep) {
    HighscoreTable three;
    three.tokens = {"1", "2026-12-06", "racer"};
    ShownTable broken(three);
    EXPECT_EQ(broken.finish.phase, FinishPhase::showingTable);
    EXPECT_TRUE(broken.step.endWithoutRecords(broken.finish));
    EXPECT_EQ(broken.finish.phase, FinishPhase::leaving) << "the finish fades out and goes on";

    ShownTable one(tableOf(1, 0));
    EXPECT_FALSE(one.step.endWithoutRecords(one.finish));
    EXPECT_EQ(one.finish.phase, FinishPhase::showingTable) << "one record is a table to show";
}

TEST(PostFinishStep, EachFrameDoesOneThingAndPressesDuringTheWaitsAreDropped) {
    settings().erase(personalBestKey(raceMode, testLevelId));
    PostFinishTable step(refusingAddress());
    FinishSequence finish;
    finish.phase = FinishPhase::submitting;
    finish.newPersonalBest = true;
    const FinishedRun run{"racer", raceMode, testLevelId, 12.5f};
    bool jump = true;  // pressed before the wait
    ControlKeys keys;

    const auto start = std::chrono::steady_clock::now();
    step.update(run, finish, jump, keys);
    EXPECT_EQ(finish.phase, FinishPhase::fetching);
    EXPECT_FALSE(jump);
    EXPECT_EQ(readPersonalBest(raceMode, testLevelId), 12.5f)
        << "a new best is kept although the server is down";

    // Pressed while the submission blocked: read in the next frame, dropped
    // before the end phase could take it as the wish to go on.
    jump = true;
    step.dropPressesFromWait(jump);
    EXPECT_FALSE(jump);
    step.update(run, finish, jump, keys);
    EXPECT_EQ(finish.phase, FinishPhase::showingTable);
    EXPECT_EQ(step.scores().recordCount(), 0u);

    jump = true;
    step.dropPressesFromWait(jump);
    EXPECT_FALSE(jump) << "pressed during the fetch";
    jump = true;
    step.dropPressesFromWait(jump);
    EXPECT_TRUE(jump) << "a press after the waits counts";

    step.update(run, finish, jump, keys);
    EXPECT_EQ(finish.phase, FinishPhase::leaving) << "a failed fetch shows nothing";
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0) << "a refused connection costs no time-out";

    // A finish that is no new best is sent too, and leaves the stored best.
    FinishSequence slower;
    slower.phase = FinishPhase::submitting;
    step.reset();
    step.submit({"racer", raceMode, testLevelId, 20.0f}, slower, jump);
    EXPECT_EQ(slower.phase, FinishPhase::fetching);
    EXPECT_EQ(readPersonalBest(raceMode, testLevelId), 12.5f);
    settings().erase(personalBestKey(raceMode, testLevelId));
}

TEST(PostFinishStep, ResetForgetsTheTableAndAPendingDrop) {
    ShownTable shown(tableOf(30, 20));
    shown.step.reset();
    EXPECT_EQ(shown.step.scores().recordCount(), 0u);
    EXPECT_EQ(shown.step.scores().firstShown, 0u);
    EXPECT_EQ(shown.step.scores().ownRecord, HighscoreTable::kNoRecord);
    bool jump = true;
    shown.step.dropPressesFromWait(jump);
    EXPECT_TRUE(jump) << "the next level's first press is its own";
}
