// A real level played to the finish by the play screen with the keys of its
// committed run, against the real highscore server: the game records the run,
// sends it after the time, the server replays it, and the table the player is
// shown marks the record as one the server has re-played.
#include <gtest/gtest.h>

#include <string>

#include "RunDriver.hpp"
#include "ScriptedGame.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "game/PlayScreen.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunText.hpp"

namespace {

constexpr int labyrinthId = 250;

}  // namespace

TEST(VerifiedRecordScene, AFinishedRunIsReplayedByTheServerAndShownAsSuch) {
    REQUIRE_DISPLAY();
    RecordedRun run;
    std::string error;
    ASSERT_TRUE(readRunFile("levels/runs/TheLabyrinth.run", run, error)) << error;
    ASSERT_TRUE(run.inputsOfFrame(0).empty());

    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    ScriptedGame game("", run.frameTimes[0]);
    game.settings().setInt("submitscores", 1);
    game.settings().setString("username", "replayer");
    game.settings().setString("highscoreserver", server.address());
    PlayScreen screen(game.window(), raceMode, 0, true);
    RunDriver driver(game, screen, run);
    screen.run();

    ASSERT_TRUE(driver.tableSeen) << server.log() << " finished " << screen.simulation().finished()
                                  << " clock " << screen.simulation().raceClock() << " phase "
                                  << static_cast<int>(screen.finishState().phase);
    // The player's own row, the only one: its day carries the server's mark.
    EXPECT_NE(driver.shownDay.find(" replay"), std::string::npos) << driver.shownDay;
    HighscoreTable table;
    HighscoreClient(server.address()).fetchTable(raceMode, labyrinthId, table);
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(table.field(0, 2), "replayer");
    EXPECT_EQ(raceMilliseconds(std::stof(table.field(0, 3))), run.finishMilliseconds);
    EXPECT_EQ(HighscoreClient(server.address()).fetchRun(raceMode, labyrinthId, 1),
              formatRun(screen.recording().run()))
        << "the run kept is the one the game recorded";
}
