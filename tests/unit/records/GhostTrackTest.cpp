#include <gtest/gtest.h>

#include <box2d/b2_body.h>

#include <vector>

#include "ShippedRun.hpp"
#include "game/GhostTrack.hpp"
#include "level/Level.hpp"

namespace {

GhostPose ballPose(const LevelSimulation& simulation) {
    const b2Body& ball = *simulation.level()->ball->body();
    return {ball.GetPosition(), ball.GetAngle()};
}

}  // namespace

// The ghost answers for a step what a plain replay of the run had after that
// step, in any order of questions: forwards one step or many at a time (the
// player's frames differ from the run's), and back to the start (a restart).
TEST(GhostTrack, PoseAfterEachStepIsTheReplaysPoseAfterThatStep) {
    const ShippedRun shipped = loadShippedRun("TheLabyrinth");
    HeadlessLevel replay(shipped.run.mode, shipped.run.turnSpeeds, shipped.levelBytes);
    LevelSimulation& simulation = replay.simulation();
    std::vector<GhostPose> poses{ballPose(simulation)};
    simulation.setStepObserver([&] { poses.push_back(ballPose(simulation)); });
    replayRun(simulation, shipped.run);
    const long long lastStep = static_cast<long long>(poses.size()) - 1;
    ASSERT_EQ(lastStep, simulation.stepsTaken());
    ASSERT_GT(lastStep, 6000);

    GhostTrack ghost(shipped.run, shipped.levelBytes);
    for (long long step = 0; step <= lastStep; ++step) {
        ASSERT_EQ(ghost.poseAfterStep(step), poses[static_cast<std::size_t>(step)]) << step;
    }
    EXPECT_TRUE(ghost.ended());
    EXPECT_EQ(ghost.poseAfterStep(lastStep + 1000), poses.back()) << "stays where the run ended";
    for (long long step : {0LL, 3000LL, 2999LL, 17LL, 6001LL, 6001LL, 6050LL}) {
        EXPECT_EQ(ghost.poseAfterStep(step), poses[static_cast<std::size_t>(step)]) << step;
    }
    EXPECT_NE(poses[3000], poses[6000]) << "the ball moves";
}
