#include <gtest/gtest.h>

#include "PlayDriver.hpp"
#include "game/PersonalBest.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

bool hasPersonalBestEntry(const Settings& store) {
    for (const auto& [key, value] : store.all()) {
        if (key.rfind("_ ", 0) == 0) {
            return true;
        }
    }
    return false;
}

// Runs until `condition` holds, then does `action` once (in that frame's
// display, so keys sent there are read in the next frame).
void whenScreen(ScriptedGame& game, std::function<bool()> condition,
                std::function<void(GameWindow&)> action) {
    game.when([condition](GameWindow&) { return condition(); }, std::move(action));
}

void tap(GameWindow& window, sf::Keyboard::Key key, std::uint64_t delay = 1) {
    window.queueEventAt(window.frameNumber() + delay, GameWindow::keyEvent(key, true));
    window.queueEventAt(window.frameNumber() + delay + 1, GameWindow::keyEvent(key, false));
}

}  // namespace

TEST(PlayScene, ARaceToTheFinishStoresTheBestAsScoreText) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    ASSERT_NE(screen.simulation().level(), nullptr);
    EXPECT_EQ(screen.levelsBuilt(), 1);
    EXPECT_EQ(screen.storedBest(), -1.0f);
    CorridorDriver driver(game, screen);

    float finishTime = -1.0f;
    game.everyFrame([&](GameWindow&) {
        if (finishTime < 0.0f && screen.simulation().finished()) {
            finishTime = screen.simulation().raceClock();
        }
    });
    screen.run();

    // The driver's Space after the banner fell in ended the screen.
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_TRUE(screen.quitting()) << "a single level ends the screen after its finish";
    ASSERT_GT(finishTime, 0.0f);
    EXPECT_TRUE(screen.finishState().newPersonalBest);

    // Stored as the score text of the finish time, under mode and level id.
    const std::string key = personalBestKey(raceMode, corridorId);
    EXPECT_NE(game.savedSettingsFile().find(key + "\t" + encodeTime(finishTime)),
              std::string::npos);
}

TEST(PlayScene, PlayAllGoesThroughEveryLevelStoringEachBest) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    std::vector<int> levels;
    {
        PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, false);
        CorridorDriver driver(game, screen);
        game.everyFrame([&](GameWindow&) {
            if (levels.empty() || levels.back() != screen.currentLevel()) {
                levels.push_back(screen.currentLevel());
            }
        });
        screen.run();
        EXPECT_EQ(screen.levelsBuilt(), 2);
    }
    EXPECT_EQ(levels, (std::vector<int>{0, 1}));
    const float first = readPersonalBest(raceMode, corridorId);
    const float second = readPersonalBest(raceMode, longCorridorId);
    EXPECT_GT(first, 0.0f);
    EXPECT_GT(second, first) << "the long corridor takes longer";
}

TEST(PlayScene, EscapeReadAsTheFinishFadeEndsPausesTheNextLevel) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, false);
    CorridorDriver driver(game, screen);
    // The fade loses one frame time a frame: the next frame reaches black.
    whenScreen(
        game,
        [&] {
            const float fade = screen.finishState().endFade;
            return screen.simulation().finished() && !screen.bannerWave().incoming && fade > 0.0f &&
                   fade - game.window().frameTime() <= 0.0f;
        },
        [&](GameWindow& window) { tap(window, sf::Keyboard::Escape); });
    std::uint64_t builtIn = 0;
    bool pausedAfterBuild = false;
    game.everyFrame([&](GameWindow& window) {
        if (builtIn == 0 && screen.levelsBuilt() == 2) {
            builtIn = window.frameNumber();
        } else if (builtIn != 0 && window.frameNumber() == builtIn + 1) {
            pausedAfterBuild = screen.currentState() == PlayScreen::paused;
            window.queueEvent(GameWindow::closedEvent());
        }
    });
    screen.run();
    ASSERT_NE(builtIn, 0u);
    EXPECT_EQ(screen.currentLevel(), 1);
    EXPECT_TRUE(pausedAfterBuild) << "an Escape outlives the level it was pressed in";
}

TEST(PlayScene, PauseFreezesTheLevelAndContinueResumesIt) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    // Turn left (away from the finish) and pause while turning.
    float clockAtPause = -1.0f;
    float angleAtPause = 0.0f;
    int pauseFrames = 0;
    bool frozen = true;
    whenScreen(
        game, [&] { return !screen.simulation().play().countdownRunning; },
        [&](GameWindow& window) {
            window.queueEventAt(window.frameNumber() + 1,
                                GameWindow::keyEvent(sf::Keyboard::Left, true));
        });
    whenScreen(
        game, [&] { return screen.simulation().viewAngle() > 20.0f; },
        [&](GameWindow& window) { tap(window, sf::Keyboard::Escape); });
    whenScreen(
        game, [&] { return screen.currentState() == PlayScreen::paused; },
        [&](GameWindow& window) {
            clockAtPause = screen.simulation().raceClock();
            angleAtPause = screen.simulation().viewAngle();
            // Left is let go during the pause: the play state never hears it.
            window.queueEventAt(window.frameNumber() + 5,
                                GameWindow::keyEvent(sf::Keyboard::Left, false));
            // Up on "Continue" does nothing; Space continues.
            tap(window, sf::Keyboard::Up, 10);
            tap(window, sf::Keyboard::Space, 60);
        });
    game.everyFrame([&](GameWindow&) {
        if (screen.currentState() != PlayScreen::paused) {
            return;
        }
        ++pauseFrames;
        frozen = frozen && screen.simulation().raceClock() == clockAtPause &&
                 screen.simulation().viewAngle() == angleAtPause;
    });
    float angleAfter = 0.0f;
    whenScreen(
        game,
        [&] {
            return pauseFrames > 0 && screen.currentState() == PlayScreen::playing &&
                   screen.simulation().raceClock() > clockAtPause + 0.5f;
        },
        [&](GameWindow& window) {
            angleAfter = screen.simulation().viewAngle();
            window.queueEventAt(window.frameNumber() + 1, GameWindow::closedEvent());
        });
    screen.run();
    EXPECT_GT(pauseFrames, 55);
    EXPECT_TRUE(frozen) << "no clock and no turning while paused";
    EXPECT_EQ(screen.pauseState().list.selected, 0);
    // Still turning left after Continue: the release was not heard.
    EXPECT_GT(angleAfter, angleAtPause + 100.0f);
    EXPECT_FALSE(game.window().isOpen());
}

TEST(PlayScene, RestartAndNextLevelFromThePauseMenu) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    int step = 0;
    // 1: after the horn, pause and choose "Restart".
    whenScreen(
        game, [&] { return !screen.simulation().play().countdownRunning; },
        [&](GameWindow& window) {
            tap(window, sf::Keyboard::Escape);
            tap(window, sf::Keyboard::Down, 4);
            tap(window, sf::Keyboard::Return, 8);
            // Pressed during the fade: must wait for the new level.
            window.queueEventAt(window.frameNumber() + 20,
                                GameWindow::keyEvent(sf::Keyboard::Escape, true));
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
        [&](GameWindow& window) {
            EXPECT_EQ(screen.pauseState().list.selected, 1) << "Restart stays selected";
            tap(window, sf::Keyboard::Down, 2);
            tap(window, sf::Keyboard::Space, 6);
            step = 3;
        });
    // 3: "Next Level" builds the second level although the first is unfinished.
    whenScreen(
        game, [&] { return step == 3 && screen.levelsBuilt() == 3; },
        [&](GameWindow& window) {
            EXPECT_EQ(screen.currentLevel(), 1);
            EXPECT_EQ(screen.currentState(), PlayScreen::playing);
            tap(window, sf::Keyboard::Escape);
            tap(window, sf::Keyboard::Space, 4);
            step = 4;
        });
    screen.run();
    // 4: "Next Level" on the last level ends the screen like "Exit".
    EXPECT_EQ(step, 4);
    EXPECT_TRUE(screen.quitting());
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_EQ(screen.levelsBuilt(), 3);
    EXPECT_FALSE(hasPersonalBestEntry(game.settings())) << "nothing stored for skipped levels";
}

TEST(PlayScene, AModeWithoutLevelsEndsAtOnce) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    const std::uint64_t before = game.window().frameNumber();
    PlayScreen screen(game.window(), static_cast<GameMode>(7), 0, false);
    screen.run();
    EXPECT_EQ(game.window().frameNumber(), before);
    EXPECT_TRUE(game.window().isOpen());
}
