#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFolder.hpp"
#include "TestLevels.hpp"
#include "autopilot/AutopilotRun.hpp"
#include "autopilot/LevelFlight.hpp"
#include "autopilot/PilotKeys.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunReplay.hpp"

namespace {

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
    LevelSimulation level(raceMode, TurnSpeeds());
    level.buildLevel(levelFromRows(bentCorridor));
    RecordedRun run;
    flyLevel(level, run, AutopilotTuning(), 60.0f);
    ASSERT_GT(run.finishMilliseconds, 0);
    EXPECT_LT(run.finishMilliseconds, 10000);
    EXPECT_TRUE(level.finished());

    // The autopilot acted through the keys alone: its frames alone do it again.
    LevelSimulation again(raceMode, TurnSpeeds());
    again.buildLevel(levelFromRows(bentCorridor));
    const ReplayResult replay = replayRun(again, run);
    EXPECT_EQ(replay.finishFrame, static_cast<int>(run.frameCount()) - 1);
    EXPECT_EQ(replay.milliseconds, run.finishMilliseconds);
    EXPECT_EQ(again.stateHash(), level.stateHash());
}

TEST(LevelFlight, ParIsAQuarterMoreAndAFinishedLevelKeepsTheFastestStyle) {
    const std::pair<long long, long long> rows[] = {
        {1, 1}, {800, 1}, {801, 2}, {7952, 10}, {8000, 10}, {18050, 23}, {27990, 35},
    };
    for (const auto& [milliseconds, par] : rows) {
        EXPECT_EQ(parSeconds(milliseconds), par) << milliseconds;
    }

    TempFolder folder;
    writeFileBytes(folder.file("bent.txt"), levelSource(bentCorridor));
    std::vector<long long> styleTimes;
    FlightPlan plan{folder.file("bent.txt"),
                    "Bent",
                    raceMode,
                    3,
                    60.0f,
                    nullptr,
                    [&](std::uint32_t, const RecordedRun& run) {
                        styleTimes.push_back(run.finishMilliseconds);
                    }};
    const FlightReport finished = flyLevelFile(plan);
    ASSERT_TRUE(finished.finished);
    ASSERT_EQ(styleTimes.size(), 3u);
    EXPECT_EQ(finished.run.finishMilliseconds,
              *std::min_element(styleTimes.begin(), styleTimes.end()));
    EXPECT_EQ(finished.parSeconds, parSeconds(finished.run.finishMilliseconds));

    // The finish walled off in the lower right: the ball ends up pressing
    // against that wall, the nearest it can get.
    writeFileBytes(folder.file("walled.txt"),
                   "map:\n##########\n#@.......#\n#........#\n"
                   "#....XXXX#\n#....X.F.#\n##########\n");
    plan.levelFile = folder.file("walled.txt");
    plan.styles = 1;
    plan.maxSeconds = 20.0f;
    const FlightReport stuck = flyLevelFile(plan);
    EXPECT_FALSE(stuck.finished);
    EXPECT_EQ(stuck.parSeconds, 0);
    EXPECT_GE(stuck.stuckX, 1);
    EXPECT_LE(stuck.stuckX, 8);
    EXPECT_GE(stuck.stuckY, 1);
    EXPECT_LE(stuck.stuckY, 4);
    EXPECT_FALSE(stuck.stuckX >= 6 && stuck.stuckY == 4) << "never inside the walled room";
}
