// Level files that are no level we can play, among good ones: each is listed
// with its reason and cannot be started; none hides the others, which still
// play.
#include <gtest/gtest.h>

#include "CustomLevelSupport.hpp"
#include "NetworkStandIns.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"

namespace {

constexpr std::uint64_t firstKeyFrame = 15;

// The corridor with a stretch of its bytes scrambled, as a fuzzer would.
std::string fuzzed(std::string bytes) {
    for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + 40; ++i) {
        bytes[i] = static_cast<char>((bytes[i] * 7 + 13) & 0xFF);
    }
    return bytes;
}

std::string hugeMap() {
    return R"(<?xml version="1.0"?>
<map orientation="orthogonal" width="10000" height="10000" tilewidth="64" tileheight="64">
 <layer width="10000" height="10000"><data encoding="csv">0</data></layer>
</map>
)";
}

}  // namespace

TEST(BrokenLevelScene, EachBrokenLevelIsListedWithItsReasonAndTheOthersStillPlay) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"nameentered", "1"}, {"submitscores", "0"}}), 1.0f / 60.0f,
                      60 * 60);
    dropLevel("a-fuzzed.tmx", fuzzed(slurpFile(corridorLevel)));
    dropLevel("b-noball.txt", "title: No Ball\nmap:\n#####\n#..F#\n#####\n");
    dropLevel("c-huge.tmx", hugeMap());
    dropLevel("d-walls.txt", "title: Walls\nmode: Race\nmap:\n####\n####\n");
    dropLevel("e-good.tmx", slurpFile(corridorLevel));

    LevelSelectScreen select(game.window(), raceMode, nullptr);
    const std::pair<const char*, const char*> broken[] = {
        {"a-fuzzed.tmx", "no well-formed XML"},
        {"b-noball.txt", "no ball start"},
        {"c-huge.tmx", "the map is 10000 x 10000 cells; a level has at most 234 x 234"},
        {"d-walls.txt", "no ball start"},
    };
    for (const auto& [name, reason] : broken) {
        const int index = indexOfFile(select, name);
        ASSERT_GE(index, 0) << name;
        const CatalogueLevel& level = select.levels().levels[static_cast<std::size_t>(index)];
        ASSERT_FALSE(level.playable()) << name;
        EXPECT_NE(level.problems.front().find(reason), std::string::npos)
            << name << ": " << level.problems.front();
    }
    const int good = indexOfFile(select, "e-good.tmx");
    ASSERT_EQ(good, select.levels().size() - 1);
    const int walls = indexOfFile(select, "d-walls.txt");

    // On a broken level the picture's place says why, and Play does nothing;
    // the good level after it plays.
    const std::uint64_t onWalls = moveToLevel(game, firstKeyFrame, walls, select.levels().size());
    std::string shownProblem;
    sf::Image shown;
    // Looked at once the screen's fade-in is over.
    const std::uint64_t looked = onWalls + 90;
    game.when([&](GameWindow& window) { return window.frameNumber() == looked; },
              [&](GameWindow& window) {
                  shownProblem = select.problemText();
                  shown = window.capture();
              });
    const std::uint64_t refused =
        game.tapKeys(looked + 4, {sf::Keyboard::Up, sf::Keyboard::Return, sf::Keyboard::Down}, 6);
    int startedAfterRefusal = -1;
    game.when([&](GameWindow& window) { return window.frameNumber() == refused + 20; },
              [&](GameWindow&) { startedAfterRefusal = select.gamesStarted(); });
    playShownCorridor(game, game.tapKeys(refused + 30, {sf::Keyboard::Right}, 6));
    select.run();

    EXPECT_EQ(shownProblem,
              "This level cannot be played:\nthe map has no ball start (@ in a source, tile 1 in "
              "the editor)\na Race level needs a finish (F, tile 2)");
    EXPECT_GT(countPixels(shown, {200, 300, 880, 100}, isLighterThanSky), 200);
    EXPECT_EQ(startedAfterRefusal, 0) << "Play on a broken level started nothing";
    EXPECT_EQ(select.gamesStarted(), 1);
    EXPECT_EQ(select.levelIndex(), static_cast<unsigned>(good));
}
