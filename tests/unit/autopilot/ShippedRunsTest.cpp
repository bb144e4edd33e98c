// The committed run of every shipped level, replayed through the headless
// simulation, must still finish its level in exactly the recorded time: a
// change to a level or to the physics that breaks a run shows here.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/DataFolder.hpp"
#include "game/LevelSimulation.hpp"
#include "game/RecordedRun.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileImages.hpp"

namespace {

struct ShippedLevel {
    GameMode mode;
    std::string name;
    std::string file;
    std::string runFile;
};

std::vector<ShippedLevel> shippedLevels() {
    std::vector<ShippedLevel> levels;
    for (GameMode mode : {raceMode, puzzleMode}) {
        LevelCatalogue catalogue;
        catalogue.fill(mode);
        for (int i = 0; i < catalogue.size(); ++i) {
            const std::string file = catalogue.files[static_cast<std::size_t>(i)];
            levels.push_back(
                {mode, catalogue.names[static_cast<std::size_t>(i)], file,
                 "levels/runs/" + std::filesystem::path(file).stem().string() + ".run"});
        }
    }
    return levels;
}

// Only what a player's hands do during play: no pause, no menu keys.
bool isPlayKey(sf::Keyboard::Key key) {
    using K = sf::Keyboard;
    const std::set<sf::Keyboard::Key> play = {K::Left,   K::Right,  K::Space,    K::Return,
                                              K::LShift, K::RShift, K::LControl, K::RControl};
    return play.count(key) == 1;
}

}  // namespace

TEST(ShippedRuns, EachRunFinishesItsLevelInExactlyTheRecordedTime) {
    const std::vector<ShippedLevel> levels = shippedLevels();
    ASSERT_EQ(levels.size(), 4u);
    TileImages noPictures;
    for (const ShippedLevel& level : levels) {
        SCOPED_TRACE(level.runFile);
        RecordedRun run;
        std::string error;
        ASSERT_TRUE(readRunFile(level.runFile, run, error)) << error;
        EXPECT_EQ(run.levelName, level.name);
        EXPECT_EQ(dataPath(run.levelFile), level.file);
        EXPECT_EQ(run.mode, level.mode);
        ASSERT_FALSE(run.frames.empty());
        for (const RecordedFrame& frame : run.frames) {
            EXPECT_FLOAT_EQ(frame.frameTime, 1.0f / 60.0f);
            for (const sf::Event& event : frame.events) {
                EXPECT_TRUE(isPlayKey(event.key.code)) << event.key.code;
            }
        }
        LevelSimulation simulation(noPictures, level.mode, TurnSpeeds());
        ASSERT_TRUE(simulation.loadLevel(level.file));
        const int targetsAtStart = simulation.colourTargetsLeft();

        const ReplayResult result = replayRun(simulation, run);

        // Finished in the last frame of the run, not before and not after.
        EXPECT_GT(run.finishMilliseconds, 0);
        EXPECT_EQ(result.finishFrame, static_cast<int>(run.frames.size()) - 1);
        EXPECT_EQ(result.milliseconds, run.finishMilliseconds);
        EXPECT_TRUE(simulation.finished());
        if (level.mode == puzzleMode) {
            EXPECT_GT(targetsAtStart, 0);
            EXPECT_EQ(result.colourTargetsLeft, 0);
        } else {
            // A race ends only at the finish: the ball must be on it.
            EXPECT_GT(simulation.play().finishFlash, 0.0f);
        }
    }
}
