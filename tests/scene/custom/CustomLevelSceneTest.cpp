// A level of the player's own, dropped into the custom level folder: listed in
// the level selection after the game's own levels, played from there, its
// personal best and run kept under the SHA-256 of its file; changing one byte
// of the file makes it a new level whose best is not that one.
#include <gtest/gtest.h>

#include "CustomLevelSupport.hpp"
#include "NetworkStandIns.hpp"
#include "PlayDriver.hpp"
#include "game/PersonalBest.hpp"
#include "game/PersonalRuns.hpp"
#include "sim/base/Sha256.hpp"

namespace {

constexpr std::uint64_t firstKeyFrame = 15;

std::string offlineSettings() {
    return settingsText(
        {{"nameentered", "1"}, {"submitscores", "0"}, {"highscoreserver", refusingAddress()}});
}

}  // namespace

TEST(CustomLevelScene, ADroppedLevelPlaysAndKeepsItsBestUnderItsHashUntilOneByteChanges) {
    REQUIRE_DISPLAY();
    ScriptedGame game(offlineSettings(), 1.0f / 60.0f, 60 * 60);
    std::string bytes = slurpFile(corridorLevel);
    const std::filesystem::path file = dropLevel("MyCorridor.tmx", bytes);
    const LevelIdentity identity = LevelIdentity::ofFile(sha256Hex(bytes));

    int index = -1;
    std::string shownLine;
    {
        LevelSelectScreen select(game.window(), raceMode, nullptr);
        index = indexOfFile(select, "MyCorridor.tmx");
        ASSERT_EQ(index, select.levels().size() - 1) << "listed after every other level";
        EXPECT_EQ(select.levels().levels[static_cast<std::size_t>(index)].identity, identity);
        const std::uint64_t shown = moveToLevel(game, firstKeyFrame, index, select.levels().size());
        game.when([&](GameWindow& window) { return window.frameNumber() == shown; },
                  [&](GameWindow&) { shownLine = select.lineText(LevelSelectScreen::levelLine); });
        playShownCorridor(game, shown + 4);
        select.run();
        EXPECT_EQ(select.gamesStarted(), 1);
    }
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
