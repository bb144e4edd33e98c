// The Tour ships in the data folder as a pack: listed after the game's own
// levels, and its first level played in the play screen with the keys of its
// committed run finishes at the recorded time.
#include <gtest/gtest.h>

#include "CustomLevelSupport.hpp"
#include "RunDriver.hpp"
#include "game/PersonalBest.hpp"
#include "sim/run/RunText.hpp"

TEST(TourScene, TheTourFollowsTheGamesOwnLevelsAndItsFirstLevelPlaysToTheRecordedTime) {
    REQUIRE_DISPLAY();
    RecordedRun run;
    std::string error;
    ASSERT_TRUE(readRunFile("levels/packs/tour/runs/FirstRoll.run", run, error)) << error;
    ScriptedGame game(settingsText({{"nameentered", "1"}, {"submitscores", "0"}}),
                      run.frameTimes[0]);
    LevelSelectScreen select(game.window(), raceMode, nullptr);
    const int first = indexOfFile(select, "FirstRoll.tmx");
    ASSERT_EQ(first, 2);
    const CatalogueLevel& level = select.levels().levels[2];
    EXPECT_EQ(level.shownName(), "Tour: First Roll");
    EXPECT_EQ(level.identity, LevelIdentity::ofFile(run.levelSha256));
    ASSERT_GT(select.levels().nextInGroup(2), 2) << "play all goes on through the Tour";

    PlayScreen screen(game.window(), raceMode, select.levels(), first, true);
    RunDriver driver(game, screen, run);
    screen.run();
    EXPECT_TRUE(screen.simulation().finished());
    EXPECT_EQ(raceMilliseconds(screen.simulation().raceClock()), run.finishMilliseconds);
    EXPECT_EQ(raceMilliseconds(readPersonalBest(raceMode, level.identity)), run.finishMilliseconds);
}
