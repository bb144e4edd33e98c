#include <gtest/gtest.h>

#include <box2d/b2_body.h>

#include <vector>

#include "ShippedRun.hpp"
#include "sim/level/Level.hpp"
#include "sim/run/GhostTrack.hpp"
#include "sim/run/RunReplay.hpp"

// The ghost answers for a step what a plain replay of the run had after that
// step, in any order of questions: one step or many at a time (the player's
// frames are not the run's), back to the start (a restart), past the end.
TEST(GhostTrack, PoseAfterEachStepIsTheReplaysPoseAfterThatStep) {
    const ShippedRun shipped = loadShippedRun("TheLabyrinth");
    LevelSimulation replay(shipped.run.mode, shipped.run.turnSpeeds);
    replay.loadLevelBytes(shipped.levelBytes);
    const b2Body& ball = *replay.level()->ball->body();
    std::vector<GhostPose> poses{{ball.GetPosition(), ball.GetAngle()}};
    replay.setStepObserver([&] { poses.push_back({ball.GetPosition(), ball.GetAngle()}); });
    replayRun(replay, shipped.run);
    ASSERT_NE(poses[3000], poses[6000]);

    GhostTrack ghost(shipped.run, shipped.levelBytes);
    for (std::size_t step = 0; step < poses.size(); ++step) {
        ASSERT_EQ(ghost.poseAfterStep(static_cast<long long>(step)), poses[step]) << step;
    }
    EXPECT_TRUE(ghost.ended());
    EXPECT_EQ(ghost.poseAfterStep(1000000), poses.back());
    for (std::size_t step : {0, 3000, 2999, 17, 6001, 6001, 6050}) {
        EXPECT_EQ(ghost.poseAfterStep(static_cast<long long>(step)), poses[step]) << step;
    }
}
