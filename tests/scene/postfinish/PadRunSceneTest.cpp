// A level played to the finish with a pad alone (the stick turns, button 0
// jumps and goes on) records the run exactly as played: the run replays to
// the state the player's level was in, the real server replays and verifies
// it, and a ghost of it stands where the player's ball stood.
#include <gtest/gtest.h>

#include <box2d/b2_body.h>

#include <map>
#include <string>

#include "PlayDriver.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/level/Level.hpp"
#include "sim/run/GhostTrack.hpp"
#include "sim/run/RunReplay.hpp"
#include "sim/run/RunText.hpp"

namespace {

// The server knows the corridor as The Labyrinth: its data folder is the
// test's own, with the corridor's bytes under that level's file name.
constexpr int labyrinthId = 250;

// Drives the corridor with pad events only: a jump soon after the horn, the
// stick pushed right until the world has turned a quarter, then let go; after
// the finish button 0 goes on from the banner and from the table.
class PadDriver {
  public:
    PadDriver(ScriptedGame& game, PlayScreen& screen) : screen(screen) {
        game.everyFrame([this](GameWindow& window) { onFrame(window); });
    }

    std::map<long long, GhostPose> ballAfterSteps;  // the player's ball, once a frame
    std::uint64_t finishHash = 0;
    bool tableSeen = false;
    std::string shownDay;

  private:
    void send(GameWindow& window, const sf::Event& event, std::uint64_t delay = 1) {
        window.queueEventAt(window.frameNumber() + delay, event);
    }

    // A press in the frame right after the table's request waited is
    // dropped as made during the wait: this one comes later.
    void tapButton(GameWindow& window) {
        send(window, GameWindow::padButtonEvent(0, 0, true), 5);
        send(window, GameWindow::padButtonEvent(0, 0, false), 8);
    }

    void onFrame(GameWindow& window) {
        const LevelSimulation& sim = screen.simulation();
        if (sim.play().countdownRunning || screen.quitting()) {
            return;
        }
        const b2Body& ball = *sim.level()->ball->body();
        ballAfterSteps[sim.stepsTaken()] = {ball.GetPosition(), ball.GetAngle()};
        if (frames++ == 0) {
            send(window, GameWindow::padConnectionEvent(0, true));
            send(window, GameWindow::padMoveEvent(0, sf::Joystick::X, 100.0f), 2);
            send(window, GameWindow::padButtonEvent(0, 0, true), 4);
            send(window, GameWindow::padButtonEvent(0, 0, false), 8);
            return;
        }
        if (!sim.finished()) {
            if (pushing && sim.viewAngle() <= -90.0f) {
                pushing = false;
                send(window, GameWindow::padMoveEvent(0, sf::Joystick::X, 0.0f));
            }
            return;
        }
        if (finishHash == 0 && screen.recording().finished()) {
            finishHash = sim.stateHash();
        }
        onFinish(window);
    }

    void onFinish(GameWindow& window) {
        const FinishPhase phase = screen.finishState().phase;
        if (phase == FinishPhase::banner && screen.finishFlashLeft() == 0.0f && !bannerLeft) {
            bannerLeft = true;
            tapButton(window);
        }
        if (phase == FinishPhase::showingTable && !tableSeen) {
            tableSeen = true;
            shownDay = screen.postFinishState().scores().field(0, 1);
            tapButton(window);
        }
    }

    PlayScreen& screen;
    int frames = 0;
    bool pushing = true;
    bool bannerLeft = false;
};

}  // namespace

TEST(PadRunScene, APadPlayedRunReplaysVerifiesOnTheServerAndRacesAsAGhost) {
    REQUIRE_DISPLAY();
    TempFolder serverData;
    std::filesystem::create_directories(serverData.path() / "levels");
    writeFileBytes(serverData.file("levels/TheLabyrinth.tmx"), corridorBytes());
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    {
        const ScopedDataFolder serverSees(serverData.path());
        ASSERT_TRUE(server.start()) << server.log();
    }

    ScriptedGame game;
    game.settings().setInt("submitscores", 1);
    game.settings().setString("username", "padder");
    game.settings().setString("highscoreserver", server.address());
    LevelCatalogue catalogue;
    catalogue.addLevel(corridorLevel, "The Labyrinth", labyrinthId);
    PlayScreen screen(game.window(), raceMode, catalogue, 0, true);
    PadDriver driver(game, screen);
    screen.run();
    ASSERT_TRUE(driver.tableSeen) << server.log();
    EXPECT_TRUE(screen.quitting() && game.window().isOpen()) << "the button went on from the table";

    // The run holds the pad's turns and its jump as the simulation got them.
    const RecordedRun run = screen.recording().run();
    std::string text = formatRun(run);
    EXPECT_NE(text.find(" ~100"), std::string::npos) << text;
    EXPECT_NE(text.find(" ~0"), std::string::npos) << text;
    EXPECT_NE(text.find(" +Space"), std::string::npos) << text;

    // Replayed, it ends in the state the player's level was in at the finish.
    LevelSimulation replay(run.mode, run.turnSpeeds);
    replay.loadLevelBytes(corridorBytes());
    const ReplayResult result = replayRun(replay, run);
    EXPECT_EQ(result.finishFrame, static_cast<int>(run.frameCount()) - 1);
    EXPECT_EQ(result.milliseconds, run.finishMilliseconds);
    EXPECT_EQ(replay.stateHash(), driver.finishHash);

    // The server replayed it too, listed it at its time, kept it (naming the
    // level as its level list does), and marked the record.
    EXPECT_NE(driver.shownDay.find(" replay"), std::string::npos) << driver.shownDay;
    const HighscoreClient client(server.address());
    HighscoreTable table;
    client.fetchTable(raceMode, labyrinthId, table);
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(table.field(0, 2), "padder");
    EXPECT_EQ(raceMilliseconds(std::stof(table.field(0, 3))), run.finishMilliseconds);
    RecordedRun kept = run;
    kept.levelFile = "levels/TheLabyrinth.tmx";
    EXPECT_EQ(client.fetchRun(raceMode, labyrinthId, 1), formatRun(kept));

    // Raced as a ghost, it stands where the player's ball stood.
    GhostTrack ghost(run, corridorBytes());
    ASSERT_GT(driver.ballAfterSteps.size(), 30u);
    for (const auto& [steps, pose] : driver.ballAfterSteps) {
        if (steps > replay.stepsTaken()) {
            break;  // the player's ball went on after the finish; the run did not
        }
        ASSERT_EQ(ghost.poseAfterStep(steps), pose) << "after " << steps << " steps";
    }
}
