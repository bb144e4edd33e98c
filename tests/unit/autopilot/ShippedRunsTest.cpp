// The committed run of every shipped level, replayed through the headless
// simulation, must finish its level in exactly the recorded time and end in
// exactly the recorded state. As in the determinism test of a physics engine,
// the hash of that end state is a committed constant: a change to the physics,
// the contact rules or a level shows here as one clear failure. When such a
// change is meant, record the runs anew with the autopilot tool and take the
// new hashes from the failure messages.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "app/DataFolder.hpp"
#include "game/LevelSimulation.hpp"
#include "game/RecordedRun.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileImages.hpp"

namespace {

// levels/runs/<stem>.run and the hash of the state its last frame leaves.
const std::map<std::string, std::uint64_t> goldenHashes = {
    {"TheLabyrinth", 0x0fbfa22c9774cac7},
    {"TheRopeBridge", 0x8ad0df918150d9ec},
    {"Fortified", 0x2f5ca04a8b28a930},
    {"ChaosUnleashed", 0xbdda5719dfbe181e},
};

// Only what a player's hands do during play: no pause, no menu keys.
bool isPlayKey(sf::Keyboard::Key key) {
    using K = sf::Keyboard;
    const std::set<sf::Keyboard::Key> play = {K::Left,   K::Right,  K::Space,    K::Return,
                                              K::LShift, K::RShift, K::LControl, K::RControl};
    return play.count(key) == 1;
}

}  // namespace

TEST(ShippedRuns, EachRunFinishesItsLevelInTheRecordedTimeAndTheRecordedState) {
    TileImages noPictures;
    std::set<std::string> played;
    for (GameMode mode : {raceMode, puzzleMode}) {
        LevelCatalogue catalogue;
        catalogue.fill(mode);
        for (int i = 0; i < catalogue.size(); ++i) {
            const std::string file = catalogue.files[static_cast<std::size_t>(i)];
            const std::string stem = std::filesystem::path(file).stem().string();
            SCOPED_TRACE(stem);
            ASSERT_EQ(goldenHashes.count(stem), 1u) << "a shipped level without a run";
            played.insert(stem);
            RecordedRun run;
            std::string error;
            ASSERT_TRUE(readRunFile("levels/runs/" + stem + ".run", run, error)) << error;
            EXPECT_EQ(run.levelName, catalogue.names[static_cast<std::size_t>(i)]);
            EXPECT_EQ(dataPath(run.levelFile), file);
            EXPECT_EQ(run.mode, mode);
            for (const RecordedFrame& frame : run.frames) {
                EXPECT_FLOAT_EQ(frame.frameTime, 1.0f / 60.0f);
                for (const sf::Event& event : frame.events) {
                    EXPECT_TRUE(isPlayKey(event.key.code)) << event.key.code;
                }
            }

            LevelSimulation simulation(noPictures, mode, TurnSpeeds());
            ASSERT_TRUE(simulation.loadLevel(file));
            const ReplayResult result = replayRun(simulation, run);

            // Finished in the last frame of the run, not before and not after.
            EXPECT_GT(run.finishMilliseconds, 0);
            EXPECT_EQ(result.finishFrame, static_cast<int>(run.frames.size()) - 1);
            EXPECT_EQ(result.milliseconds, run.finishMilliseconds);
            EXPECT_EQ(result.colourTargetsLeft, 0);
            EXPECT_EQ(simulation.stateHash(), goldenHashes.at(stem))
                << "end state 0x" << std::hex << simulation.stateHash();
        }
    }
    EXPECT_EQ(played.size(), goldenHashes.size());
}
