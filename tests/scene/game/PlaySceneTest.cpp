#include <gtest/gtest.h>

#include "PlayDriver.hpp"
#include "game/PersonalBest.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

// Runs until `condition` holds, then does `action` once (in that frame's
// display, so keys sent there are read in the next frame).
void whenScreen(ScriptedGame& game, std::function<bool()> condition,
                std::function<void(GameWindow&)> action) {
    game.when([condition](GameWindow&) { return condition(); }, std::move(action));
}

}  // namespace

// Each finish stores its time as the score text under mode and level id. An
// Escape read as the first level's fade ends outlives the level it was
// pressed in: the next level starts paused.
TEST(PlayScene, PlayAllGoesThroughEveryLevelStoringEachBestAsScoreText) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    std::vector<int> levels;
    std::vector<float> finishTimes;
    bool pausedAfterBuild = false;
    {
        PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, false);
        EXPECT_EQ(screen.storedBest(), -1.0f);
        CorridorDriver driver(game, screen);
        // The fade loses one frame time a frame: the next frame reaches black.
        whenScreen(
            game,
            [&] {
                const float fade = screen.finishState().endFade;
                return screen.simulation().finished() && !screen.bannerWave().incoming &&
                       fade > 0.0f && fade - game.window().frameTime() <= 0.0f;
            },
            [&](GameWindow&) { game.keyIn(1, sf::Keyboard::Escape); });
        std::uint64_t builtIn = 0;
        whenScreen(
            game, [&] { return screen.levelsBuilt() == 2; },
            [&](GameWindow& window) { builtIn = window.frameNumber(); });
        // Then "Continue", and the level plays on.
        game.when([&](GameWindow& w) { return builtIn != 0 && w.frameNumber() == builtIn + 1; },
                  [&](GameWindow&) {
                      pausedAfterBuild = screen.currentState() == PlayScreen::paused;
                      game.keyIn(1, sf::Keyboard::Space);
                  });
        game.everyFrame([&](GameWindow&) {
            if (levels.empty() || levels.back() != screen.currentLevel()) {
                levels.push_back(screen.currentLevel());
            }
            if (finishTimes.size() < levels.size() && screen.simulation().finished()) {
                finishTimes.push_back(screen.simulation().raceClock());
            }
        });
        screen.run();
        EXPECT_EQ(screen.levelsBuilt(), 2);
        EXPECT_TRUE(screen.quitting()) << "the last level's finish ends the screen";
    }
    EXPECT_TRUE(pausedAfterBuild) << "an Escape outlives the level it was pressed in";
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_EQ(levels, (std::vector<int>{0, 1}));
    ASSERT_EQ(finishTimes.size(), 2u);
    EXPECT_GT(finishTimes[1], finishTimes[0]) << "the long corridor takes longer";
    const std::string saved = game.savedSettingsFile();
    for (const auto& [id, time] :
         {std::pair{corridorId, finishTimes[0]}, {longCorridorId, finishTimes[1]}}) {
        EXPECT_NE(saved.find(personalBestKey(raceMode, id) + "\t" + encodeTime(time)),
                  std::string::npos)
            << saved;
    }
}

// Pause freezes the level and Continue resumes it; Restart builds it anew,
// and Next Level goes on to the next level, or ends the screen on the last.
TEST(PlayScene, PauseContinueRestartAndNextLevelAndAModeWithoutLevelsEndsAtOnce) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    // 0: turn left (away from the finish) and pause while turning.
    float clockAtPause = -1.0f;
    float angleAtPause = 0.0f;
    int pauseFrames = 0;
    bool frozen = true;
    whenScreen(
        game, [&] { return !screen.simulation().play().countdownRunning; },
        [&](GameWindow&) { game.keyIn(1, sf::Keyboard::Left, false); });
    whenScreen(
        game, [&] { return screen.simulation().viewAngle() > 20.0f; },
        [&](GameWindow&) { game.keyIn(1, sf::Keyboard::Escape); });
    whenScreen(
        game, [&] { return screen.currentState() == PlayScreen::paused; },
        [&](GameWindow& window) {
            clockAtPause = screen.simulation().raceClock();
            angleAtPause = screen.simulation().viewAngle();
            // Left is let go during the pause: the play state never hears it.
            window.queueEventAt(window.frameNumber() + 5,
                                GameWindow::keyEvent(sf::Keyboard::Left, false));
            // Up on "Continue" does nothing; Space continues.
            game.keyIn(10, sf::Keyboard::Up);
            game.keyIn(60, sf::Keyboard::Space);
        });
    int step = 0;
    game.everyFrame([&](GameWindow&) {
        if (step != 0 || screen.currentState() != PlayScreen::paused) {
            return;
        }
        ++pauseFrames;
        frozen = frozen && screen.simulation().raceClock() == clockAtPause &&
                 screen.simulation().viewAngle() == angleAtPause;
    });
    float angleAfter = 0.0f;
    int selectedAfter = -1;
    // 1: playing again, pause and choose "Restart".
    whenScreen(
        game,
        [&] {
            return pauseFrames > 0 && screen.currentState() == PlayScreen::playing &&
                   screen.simulation().raceClock() > clockAtPause + 0.5f;
        },
        [&](GameWindow&) {
            angleAfter = screen.simulation().viewAngle();
            selectedAfter = screen.pauseState().list.selected;
            game.keyIn(1, sf::Keyboard::Escape);
            game.keyIn(4, sf::Keyboard::Down);
            game.keyIn(8, sf::Keyboard::Return);
            // Pressed during the fade: must wait for the new level.
            game.keyIn(20, sf::Keyboard::Escape, false);
            step = 1;
        });
    // 2: the rebuilt level starts paused again by the Escape that waited.
    whenScreen(
        game, [&] { return step == 1 && screen.levelsBuilt() == 2; },
        [&](GameWindow&) {
            EXPECT_EQ(screen.currentLevel(), 0);
            EXPECT_EQ(screen.simulation().raceClock(), 0.0f);
            EXPECT_TRUE(screen.simulation().play().countdownRunning);
            step = 2;
        });
    whenScreen(
        game, [&] { return step == 2 && screen.currentState() == PlayScreen::paused; },
        [&](GameWindow&) {
            EXPECT_EQ(screen.pauseState().list.selected, 1) << "Restart stays selected";
            game.keyIn(2, sf::Keyboard::Down);
            game.keyIn(6, sf::Keyboard::Space);
            step = 3;
        });
    // 3: "Next Level" builds the second level although the first is unfinished.
    whenScreen(
        game, [&] { return step == 3 && screen.levelsBuilt() == 3; },
        [&](GameWindow&) {
            EXPECT_EQ(screen.currentLevel(), 1);
            EXPECT_EQ(screen.currentState(), PlayScreen::playing);
            game.keyIn(1, sf::Keyboard::Escape);
            game.keyIn(4, sf::Keyboard::Space);
            step = 4;
        });
    screen.run();
    EXPECT_GT(pauseFrames, 55);
    EXPECT_TRUE(frozen) << "no clock and no turning while paused";
    EXPECT_EQ(selectedAfter, 0);
    // Still turning left after Continue: the release was not heard.
    EXPECT_GT(angleAfter, angleAtPause + 100.0f);
    // 4: "Next Level" on the last level ends the screen like "Exit".
    EXPECT_EQ(step, 4);
    EXPECT_TRUE(screen.quitting());
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_EQ(screen.levelsBuilt(), 3);
    EXPECT_EQ(game.savedSettingsFile().find("\n_ "), std::string::npos)
        << "nothing stored for skipped levels";

    // A mode without levels ends at once.
    const std::uint64_t before = game.window().frameNumber();
    PlayScreen none(game.window(), static_cast<GameMode>(7), 0, false);
    none.run();
    EXPECT_EQ(game.window().frameNumber(), before);
    EXPECT_TRUE(game.window().isOpen());
}
