#include <gtest/gtest.h>

#include <chrono>

#include "MenuSceneSupport.hpp"
#include "menu/LevelSelectScreen.hpp"

using Key = sf::Keyboard;

namespace {

// Keys are taken 0.2 s after the screen opens (frame 13 at 60 per second).
constexpr std::uint64_t firstKeyFrame = 15;
// The table is fetched once the level line has rested 1.5 s (90 frames).
constexpr std::uint64_t fetchFrames = 90;

std::string settingsFor(const std::string& address, const std::string& startLevel,
                        const std::string& submit = "1") {
    return settingsText({{"nameentered", "1"},
                         {"highscoreserver", address},
                         {"startlevel_1", startLevel},
                         {"submitscores", submit},
                         {"username", "me"}});
}

}  // namespace

TEST(LevelSelectScene, AStoredStartLevelOutOfRangeOpensAndStoresTheFirst) {
    REQUIRE_DISPLAY();
    for (const auto& [stored, shown] : std::vector<std::pair<std::string, unsigned>>{
             {"7", 0}, {"-1", 0}, {"1", 1}, {"0", 0}, {"junk", 0}}) {
        ScriptedGame game(settingsFor(refusingAddress(), stored));
        LevelSelectScreen screen(game.window(), raceMode, nullptr);
        EXPECT_EQ(screen.levelIndex(), shown) << stored;
        EXPECT_EQ(game.settings().getInt("startlevel_1", -5), static_cast<int>(shown)) << stored;
    }
    ScriptedGame game(settingsFor(refusingAddress(), "0"));
    LevelSelectScreen puzzle(game.window(), puzzleMode, nullptr);
    EXPECT_EQ(puzzle.lineText(LevelSelectScreen::levelLine), "< 1 | Fortified >");
    EXPECT_EQ(game.settings().getInt("startlevel_2", -5), 0);
}

// Left and Right move the level line alone, round at both ends; Return and
// Space there start nothing. "Play single level" stores the level, plays it,
// and leaving the game ends the visit.
TEST(LevelSelectScene, LeftAndRightWrapAndPlaySingleLevelStoresAndPlaysIt) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsFor(refusingAddress(), "0", "0"));
    LevelSelectScreen screen(game.window(), raceMode, nullptr);
    FrameLog<std::string> line(game, [&] { return screen.lineText(LevelSelectScreen::levelLine); });
    FrameLog<int> ghost(game, [&] { return game.settings().getInt("ghost", -1); });
    FrameLog<int> started(game, [&] { return screen.gamesStarted(); });
    // Right on "Play all" does nothing; then down to the level line; G twice
    // picks the record's ghost and goes back to the personal best's.
    const std::uint64_t frame =
        game.tapKeys(firstKeyFrame, {Key::Right, Key::Down, Key::Down, Key::Left, Key::Right,
                                     Key::Right, Key::Return, Key::Space, Key::G, Key::G});
    // Up to "Play single level". The game opens after the 1 s fade-out; well
    // after its fade-in, leave it as a player does: Escape to the pause menu,
    // down to "Exit", Return.
    const std::uint64_t play = game.tapKeys(frame, {Key::Up, Key::Return}) - 6;
    game.keyAt(play + 61 + 200, Key::Escape);
    const std::uint64_t left =
        game.tapKeys(play + 61 + 220, {Key::Down, Key::Down, Key::Down, Key::Return}, 6);
    screen.run();

    // The game's own levels, then the Tour's.
    const LevelCatalogue& levels = screen.levels();
    ASSERT_GT(levels.size(), 2);
    const std::string last =
        levelLineText(static_cast<unsigned>(levels.size() - 1), levels.levels.back().shownName());
    EXPECT_EQ(last.find("< " + std::to_string(levels.size()) + " | Tour: "), 0u) << last;
    EXPECT_EQ(line.at(firstKeyFrame + 1), "< 1 | The Labyrinth >");
    EXPECT_EQ(line.at(firstKeyFrame + 19), last) << "Left on the first wraps";
    EXPECT_EQ(line.at(firstKeyFrame + 25), "< 1 | The Labyrinth >") << "Right on the last wraps";
    EXPECT_EQ(line.at(firstKeyFrame + 31), "< 2 | The Rope Bridge >");
    EXPECT_EQ(line.at(firstKeyFrame + 49), "< 2 | The Rope Bridge | Record Ghost >");
    EXPECT_EQ(ghost.at(firstKeyFrame + 49), 2);
    EXPECT_EQ(line.at(firstKeyFrame + 55), "< 2 | The Rope Bridge >");
    EXPECT_EQ(ghost.at(firstKeyFrame + 55), 1);
    EXPECT_EQ(started.at(play - 1), 0) << "Return and Space on the level line";
    EXPECT_EQ(started.at(play + 61 + 100), 1) << "the game was running";
    // The game ran until the player left it, and that ended the visit.
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_EQ(screen.gamesStarted(), 1);
    EXPECT_GT(game.window().frameNumber(), left);
    EXPECT_LT(game.window().frameNumber(), left + 200);
    EXPECT_EQ(game.settings().getInt("startlevel_1", -5), 1);
    EXPECT_TRUE(menuMusic().isPlaying());
    EXPECT_FALSE(gameMusic().isPlaying());
    EXPECT_EQ(screen.fetchCount(), 0) << "no table with online highscores off";
}

TEST(LevelSelectScene, EveryMoveRestartsTheWaitForTheTableADownServerCostsNothingEscapeLeaves) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsFor(refusingAddress(), "0"));
    LevelSelectScreen screen(game.window(), raceMode, nullptr);
    FrameLog<int> fetches(game, [&] { return screen.fetchCount(); });
    // Moves faster than every 1.5 s, on the level line and through the menu:
    // no request until the last of them has rested.
    std::uint64_t frame = game.tapKeys(firstKeyFrame, {Key::Down, Key::Down}, 4);
    for (Key::Key key : {Key::Right, Key::Right, Key::Up, Key::Down, Key::Up, Key::Down}) {
        game.keyAt(frame, key);
        frame += 60;
    }
    const std::uint64_t lastMove = frame - 60;
    // A move after the table is shown keeps it and fetches nothing more.
    game.keyAt(lastMove + fetchFrames + 30, Key::Up);
    sf::Image shown;
    game.when(
        [&](GameWindow& window) { return window.frameNumber() == lastMove + fetchFrames + 20; },
        [&](GameWindow& window) { shown = window.capture(); });
    game.keyAt(lastMove + fetchFrames + 60, Key::Escape);
    const auto start = std::chrono::steady_clock::now();
    screen.run();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(fetches.at(lastMove + fetchFrames - 2), 0);
    EXPECT_EQ(fetches.at(lastMove + fetchFrames + 2), 1);
    EXPECT_EQ(screen.fetchCount(), 1);
    EXPECT_TRUE(screen.rowTexts().empty());
    EXPECT_LT(seconds, 5.0);
    // The player is told that there is nothing to show.
    EXPECT_GT(countPixels(shown, {400, 640, 480, 32}, isLighterThanSky), 40);
    // Escape left after its fade-out without starting a game, and only a game
    // stores the shown level.
    EXPECT_NEAR(static_cast<double>(game.window().frameNumber()), lastMove + fetchFrames + 120, 2);
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_EQ(screen.gamesStarted(), 0);
    EXPECT_EQ(game.settings().getInt("startlevel_1", -5), 0);
}
