#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "autopilot/AutopilotRun.hpp"
#include "autopilot/PilotKeys.hpp"
#include "sim/level/TileKinds.hpp"
#include "sim/level/TileMap.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunReplay.hpp"

namespace {

// Rows of level source characters (levels/README.md), one cell each.
TileMap mapFromRows(const std::vector<std::string>& rows) {
    const std::map<char, int> ids = {
        {'@', TileId::ballStart}, {'F', TileId::finish},  {'#', TileId::wall},
        {'X', TileId::fixedWall}, {'!', TileId::penalty},
    };
    TileMap map;
    map.height = static_cast<int>(rows.size());
    map.width = static_cast<int>(rows.front().size());
    for (const std::string& row : rows) {
        for (char cell : row) {
            map.tiles.push_back(ids.count(cell) ? ids.at(cell) : TileId::empty);
        }
    }
    return map;
}

// A bent corridor: the ball must fall right, then down, then left.
const std::vector<std::string> bentCorridor = {
    "XXXXXXXXXXXXXX",  //
    "X@...........X",  //
    "X............X",  //
    "X............X",  //
    "XXXXXXXXXX...X",  //
    "X............X",  //
    "X............X",  //
    "XF...........X",  //
    "XXXXXXXXXXXXXX",
};

struct Headless {
    Headless(const TileMap& map, GameMode mode) : simulation(mode, TurnSpeeds()) {
        simulation.buildLevel(map);
    }
    LevelSimulation simulation;
};

}  // namespace

TEST(PilotKeys, EveryCommandTurnsTheWorldAtTheRateItAsksFor) {
    using Speed = PilotCommand::Speed;
    const TurnSpeeds speeds;
    for (int turn : {-1, 0, 1}) {
        for (Speed speed : {Speed::slow, Speed::normal, Speed::fast}) {
            SCOPED_TRACE(turn * 10 + static_cast<int>(speed));
            // Fresh hands and a fresh control state each time, as a level start.
            PilotKeys keys;
            ControlKeys controls;
            bool jump = false;
            keys.change({-turn, Speed::normal, false});
            for (const PlayInput& input : keys.change({turn, speed, false})) {
                applyInput(controls, jump, input);
            }
            EXPECT_EQ(turnRate(controls, speeds), PilotKeys::rate({turn, speed, false}, speeds));
        }
    }
    TurnSpeeds inverted;
    inverted.inverted = true;
    EXPECT_EQ(PilotKeys::rate({1, Speed::fast, false}, inverted), -inverted.control);
}

TEST(Autopilot, FinishesABentCorridorAndItsRunReplaysExactly) {
    Headless level(mapFromRows(bentCorridor), raceMode);
    RecordedRun run;
    flyLevel(level.simulation, run, AutopilotTuning(), 60.0f);
    ASSERT_GT(run.finishMilliseconds, 0);
    EXPECT_LT(run.finishMilliseconds, 10000);
    EXPECT_TRUE(level.simulation.finished());

    // The autopilot acted through the keys alone: its frames alone do it again.
    Headless again(mapFromRows(bentCorridor), raceMode);
    const ReplayResult replay = replayRun(again.simulation, run);
    EXPECT_EQ(replay.finishFrame, static_cast<int>(run.frameCount()) - 1);
    EXPECT_EQ(replay.milliseconds, run.finishMilliseconds);
    EXPECT_EQ(again.simulation.stateHash(), level.simulation.stateHash());
}
