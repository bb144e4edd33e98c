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

TEST(LevelFlight, TheFastestStyleIsKeptReplaysExactlyAndParIsAQuarterMore) {
    const std::pair<long long, long long> rows[] = {
        {1, 1}, {800, 1}, {801, 2}, {7952, 10}, {8000, 10}, {18050, 23}, {27990, 35},
    };
    for (const auto& [milliseconds, par] : rows) {
        EXPECT_EQ(parSeconds(milliseconds), par) << milliseconds;
    }

    TempFolder folder;
    writeFileBytes(folder.file("bent.txt"), levelSource(bentCorridor));
    std::uint64_t lastState = 0;
    std::vector<std::pair<long long, std::uint64_t>> styleEnds;  // time, end state
    FlightPlan plan{folder.file("bent.txt"),
                    "Bent",
                    raceMode,
                    3,
                    60.0f,
                    [&](const LevelSimulation& level) { lastState = level.stateHash(); },
                    [&](std::uint32_t, const RecordedRun& run) {
                        styleEnds.push_back({run.finishMilliseconds, lastState});
                    }};
    const FlightReport finished = flyLevelFile(plan);
    ASSERT_TRUE(finished.finished);
    ASSERT_EQ(styleEnds.size(), 3u);
    const auto fastest = *std::min_element(styleEnds.begin(), styleEnds.end(),
                                           [](auto& a, auto& b) { return a.first < b.first; });
    EXPECT_EQ(finished.run.finishMilliseconds, fastest.first);
    EXPECT_LT(fastest.first, 10000);
    EXPECT_EQ(finished.parSeconds, parSeconds(fastest.first));

    // The autopilot acted through the keys alone: its frames alone do it again.
    LevelSimulation again(raceMode, TurnSpeeds());
    again.loadLevelBytes(levelSource(bentCorridor));
    const ReplayResult replay = replayRun(again, finished.run);
    EXPECT_EQ(replay.finishFrame, static_cast<int>(finished.run.frameCount()) - 1);
    EXPECT_EQ(replay.milliseconds, finished.run.finishMilliseconds);
    EXPECT_EQ(again.stateHash(), fastest.second);

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
