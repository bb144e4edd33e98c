// Levels of the player's own, dropped into the custom level folder: listed in
// the level selection after the game's own levels. One that is no level we
// can play is listed with its reason and cannot be started, and hides none of
// the others. A good one plays from there, its personal best and run kept
// under the SHA-256 of its file; changing one byte of the file makes it a new
// level whose best is not that one.
#include <gtest/gtest.h>

#include "CustomLevelSupport.hpp"
#include "NetworkStandIns.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "game/PersonalBest.hpp"
#include "game/PersonalRuns.hpp"
#include "sim/base/Sha256.hpp"

namespace {

constexpr std::uint64_t firstKeyFrame = 15;

// The corridor with a stretch of its bytes scrambled, as a fuzzer would.
std::string fuzzed(std::string bytes) {
    for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + 40; ++i) {
        bytes[i] = static_cast<char>((bytes[i] * 7 + 13) & 0xFF);
    }
    return bytes;
}

const char* const hugeMap = R"(<?xml version="1.0"?>
<map orientation="orthogonal" width="10000" height="10000" tilewidth="64" tileheight="64">
 <layer width="10000" height="10000"><data encoding="csv">0</data></layer>
</map>
)";

}  // namespace

TEST(CustomLevelScene, BrokenLevelsSayWhyAndAGoodOnePlaysAndKeepsItsBestUnderItsHash) {
    REQUIRE_DISPLAY();
    ScriptedGame game(
        settingsText(
            {{"nameentered", "1"}, {"submitscores", "0"}, {"highscoreserver", refusingAddress()}}),
        1.0f / 60.0f, 60 * 60);
    std::string bytes = corridorBytes();
    dropLevel("A-fuzzed.tmx", fuzzed(bytes));
    dropLevel("B-noball.txt", "title: No Ball\nmap:\n#####\n#..F#\n#####\n");
    dropLevel("C-huge.tmx", hugeMap);
    dropLevel("D-walls.txt", "title: Walls\nmode: Race\nmap:\n####\n####\n");
    const std::filesystem::path file = dropLevel("MyCorridor.tmx", bytes);
    const LevelIdentity identity = LevelIdentity::ofFile(sha256Hex(bytes));

    int index = -1;
    std::string shownLine;
    std::string shownProblem;
    sf::Image shown;
    int startedAfterRefusal = -1;
    {
        LevelSelectScreen select(game.window(), raceMode, nullptr);
        const std::pair<const char*, const char*> broken[] = {
            {"A-fuzzed.tmx", "no well-formed XML"},
            {"B-noball.txt", "no ball start"},
            {"C-huge.tmx", "the map is 10000 x 10000 cells; a level has at most 234 x 234"},
            {"D-walls.txt", "no ball start"},
        };
        for (const auto& [name, reason] : broken) {
            const int at = indexOfFile(select, name);
            ASSERT_GE(at, 0) << name;
            const CatalogueLevel& level = select.levels().levels[static_cast<std::size_t>(at)];
            ASSERT_FALSE(level.playable()) << name;
            EXPECT_NE(level.problems.front().find(reason), std::string::npos)
                << name << ": " << level.problems.front();
        }
        index = indexOfFile(select, "MyCorridor.tmx");
        ASSERT_EQ(index, select.levels().size() - 1) << "listed after every other level";
        EXPECT_EQ(select.levels().levels[static_cast<std::size_t>(index)].identity, identity);

        // On a broken level the picture's place says why, and Play does
        // nothing; the good level after it plays. Looked at once the screen's
        // fade-in is over.
        const int walls = indexOfFile(select, "D-walls.txt");
        const std::uint64_t looked =
            moveToLevel(game, firstKeyFrame, walls, select.levels().size()) + 90;
        game.when([&](GameWindow& window) { return window.frameNumber() == looked; },
                  [&](GameWindow& window) {
                      shownProblem = select.problemText();
                      shown = window.capture();
                  });
        const std::uint64_t refused = game.tapKeys(
            looked + 4, {sf::Keyboard::Up, sf::Keyboard::Return, sf::Keyboard::Down}, 6);
        const std::uint64_t onMine = game.tapKeys(refused + 30, {sf::Keyboard::Right}, 6);
        game.when([&](GameWindow& window) { return window.frameNumber() == onMine; },
                  [&](GameWindow&) {
                      startedAfterRefusal = select.gamesStarted();
                      shownLine = select.lineText(LevelSelectScreen::levelLine);
                  });
        playShownCorridor(game, onMine + 4);
        select.run();
        EXPECT_EQ(select.gamesStarted(), 1);
        EXPECT_EQ(select.levelIndex(), static_cast<unsigned>(index));
    }
    EXPECT_EQ(shownProblem,
              "This level cannot be played:\nthe map has no ball start (@ in a source, tile 1 in "
              "the editor)\na Race level needs a finish (F, tile 2)");
    EXPECT_GT(countPixels(shown, {200, 300, 880, 100}, isLighterThanSky), 200);
    EXPECT_EQ(startedAfterRefusal, 0) << "Play on a broken level started nothing";
    EXPECT_EQ(shownLine, "< " + std::to_string(index + 1) + " | Custom: MyCorridor >");

    // The best and its run are the level's by its hash; it has no id.
    const float best = readPersonalBest(raceMode, identity);
    EXPECT_GT(best, 0.0f);
    EXPECT_TRUE(game.settings().contains("_ 1 " + identity.sha256));
    const std::optional<RecordedRun> run = PersonalRuns().load(raceMode, identity, identity.sha256);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->levelId, 0);
    EXPECT_EQ(PersonalRuns().pathOf(raceMode, identity).filename(),
              "1-" + identity.sha256 + ".run");

    // Played again, the best is there and the ghost races its run.
    LevelSelectScreen again(game.window(), raceMode, nullptr);
    {
        PlayScreen replay(game.window(), raceMode, again.levels(), index, true);
        EXPECT_EQ(replay.storedBest(), best);
        EXPECT_TRUE(replay.ghostBall().pose().has_value());
    }

    // One byte more: another level, with no best and no ghost.
    bytes.back() = ' ';
    bytes += '\n';
    writeFileBytes(file.string(), bytes);
    LevelSelectScreen edited(game.window(), raceMode, nullptr);
    const CatalogueLevel& level = edited.levels().levels[static_cast<std::size_t>(index)];
    EXPECT_NE(level.identity, identity);
    PlayScreen changed(game.window(), raceMode, edited.levels(), index, true);
    EXPECT_EQ(changed.storedBest(), -1.0f);
    EXPECT_FALSE(changed.ghostBall().pose().has_value());
    EXPECT_EQ(readPersonalBest(raceMode, identity), best) << "the old level's best stays its own";
}
