// The committed run of every shipped level, replayed through the simulation,
// must finish its level in exactly the recorded time and end in exactly the
// recorded state. As in the determinism test of a physics engine, the hash of
// that end state is a committed constant: a change to the physics, the
// contact rules or a level shows here as one clear failure. When such a
// change is meant, record the runs anew with the autopilot tool
// (levels/runs/README.md) and take the new hashes from the failure messages. The same runs replay
// on arm64 under qemu (scripts/arm64-replay.sh) to the same hashes.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ShippedRun.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/LevelFolder.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunReplay.hpp"

namespace {

// Each committed run (from the project root) and the hash of the state its
// last frame leaves: the game's own levels, then the Tour's.
const std::map<std::string, std::uint64_t> goldenHashes = {
    {"levels/runs/TheLabyrinth.run", 0xd02f63a1eb7e544c},
    {"levels/runs/TheRopeBridge.run", 0x9428b55f9d26f164},
    {"levels/runs/Fortified.run", 0x11b984e00aa1b6ac},
    {"levels/runs/ChaosUnleashed.run", 0x074e3b273f823e29},
    {"levels/packs/tour/runs/FirstRoll.run", 0xb56a9c8e30e7fd93},
    {"levels/packs/tour/runs/ColourLesson.run", 0x8ec53595ab67ae8a},
    {"levels/packs/tour/runs/BreakThrough.run", 0x3c90bd8ae63f2a3c},
    {"levels/packs/tour/runs/Hop.run", 0xa0c75d1edc604f58},
    {"levels/packs/tour/runs/RopeWalk.run", 0x5a55c33ffc81fbdf},
    {"levels/packs/tour/runs/ColourKeep.run", 0x8afcb850c7f9c29c},
    {"levels/packs/tour/runs/GrandTour.run", 0xbbf60f87a87c6d6b},
    {"levels/packs/tour/runs/Prism.run", 0x79cf271779b8797a},
};

// Only what a player's hands do during play: no pause, no menu keys.
bool isPlayInput(const PlayInput& input) {
    const std::set<PlayKey> play = {PlayKey::left,        PlayKey::right,       PlayKey::space,
                                    PlayKey::enter,       PlayKey::leftShift,   PlayKey::rightShift,
                                    PlayKey::leftControl, PlayKey::rightControl};
    return input.kind == PlayInput::Kind::turn || play.count(input.key) == 1;
}

struct Replayed {
    ReplayResult result;
    std::uint64_t hash = 0;
};

Replayed replayShipped(const ShippedRun& shipped) {
    LevelSimulation simulation(shipped.run.mode, shipped.run.turnSpeeds);
    simulation.loadLevelBytes(shipped.levelBytes);
    Replayed replayed;
    replayed.result = replayRun(simulation, shipped.run);
    replayed.hash = simulation.stateHash();
    return replayed;
}

// Naming its level as the level list does and by the hash of its file,
// finished in the last frame of the run, not before and not after, at the
// recorded milliseconds and in the golden end state.
void expectReplaysAsRecorded(const std::string& path, const std::string& name,
                             const std::string& file, int levelId, GameMode mode) {
    SCOPED_TRACE(path);
    ASSERT_EQ(goldenHashes.count(path), 1u) << "a level without a committed run";
    const ShippedRun shipped = loadCommittedRun(path);
    const RecordedRun& run = shipped.run;
    EXPECT_EQ(run.levelName, name);
    EXPECT_EQ(run.levelFile, file);
    EXPECT_EQ(run.levelId, levelId);
    EXPECT_EQ(run.levelSha256, sha256Hex(shipped.levelBytes));
    EXPECT_EQ(run.mode, mode);
    for (const RecordedInput& input : run.inputs) {
        EXPECT_TRUE(isPlayInput(input.input)) << static_cast<int>(input.input.key);
    }
    const Replayed replayed = replayShipped(shipped);
    EXPECT_GT(run.finishMilliseconds, 0);
    EXPECT_EQ(replayed.result.finishFrame, static_cast<int>(run.frameCount()) - 1);
    EXPECT_EQ(replayed.result.milliseconds, run.finishMilliseconds);
    EXPECT_EQ(replayed.result.colourTargetsLeft, 0);
    EXPECT_EQ(replayed.hash, goldenHashes.at(path)) << "end state 0x" << std::hex << replayed.hash;
}

}  // namespace

TEST(ShippedRuns, EightThreadsGetTheGoldenHashesAndEachRunFinishesInTheRecordedTimeAndState) {
    std::set<std::string> played;
    for (GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const std::string stem = std::filesystem::path(level.file).stem().string();
            const std::string path = "levels/runs/" + stem + ".run";
            played.insert(path);
            expectReplaysAsRecorded(path, level.name, level.file, level.levelId, mode);
        }
    }
    // The Tour, in the order of its pack: each level proven finishable by a
    // run that names it by its hash alone.
    for (const FoundLevel& level : findLevels(dataPath("levels/tour"))) {
        ASSERT_TRUE(level.playable()) << level.file;
        const std::string stem = level.file.stem().string();
        const std::string path = "levels/packs/tour/runs/" + stem + ".run";
        played.insert(path);
        expectReplaysAsRecorded(path, level.name, "levels/tour/" + stem + ".tmx", 0, *level.mode);
    }
    EXPECT_EQ(played.size(), goldenHashes.size());

    // Simulations share nothing: eight threads replaying the committed runs at
    // once, as the server's replay threads and a ghost beside the player's level
    // do, each get the golden end states. The ThreadSanitizer build runs this too.
    std::vector<std::pair<ShippedRun, std::uint64_t>> runs;
    for (const auto& [path, hash] : goldenHashes) {
        runs.emplace_back(loadCommittedRun(path), hash);
    }
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 8; ++t) {
        threads.emplace_back([&runs, t] {
            // Each thread starts at another run, so different levels step at once.
            for (std::size_t i = 0; i < runs.size(); ++i) {
                const auto& [shipped, hash] = runs[(i + t) % runs.size()];
                EXPECT_EQ(replayShipped(shipped).hash, hash)
                    << "thread " << t << " " << shipped.run.levelFile;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}
