#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TempFolder.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunReplay.hpp"
#include "sim/run/RunText.hpp"

// A committed run, its text and its level file.
struct ShippedRun {
    RecordedRun run;
    std::string text;
    std::string levelBytes;
};

// The run file at `path` (from the project root), with its level file.
inline ShippedRun loadCommittedRun(const std::string& path) {
    ShippedRun shipped{{}, slurpFile(path), {}};
    std::string error;
    EXPECT_TRUE(parseRun(shipped.text, shipped.run, error)) << path << ": " << error;
    shipped.levelBytes = slurpFile(dataPath(shipped.run.levelFile));
    return shipped;
}

// The run of one of the game's own levels: levels/runs/<stem>.run.
inline ShippedRun loadShippedRun(const std::string& stem) {
    return loadCommittedRun("levels/runs/" + stem + ".run");
}

// The state hash after each number of frames of a straight replay, from the
// level as built (index 0) to the run's end.
inline std::vector<std::uint64_t> straightHashes(const ShippedRun& shipped) {
    LevelSimulation simulation(shipped.run.mode, shipped.run.turnSpeeds);
    simulation.loadLevelBytes(shipped.levelBytes);
    std::vector<std::uint64_t> hashes{simulation.stateHash()};
    RunCursor cursor(shipped.run);
    while (!cursor.done()) {
        cursor.playNext(simulation);
        hashes.push_back(simulation.stateHash());
    }
    return hashes;
}
