#include <gtest/gtest.h>

#include <vector>

#include "TestLevels.hpp"
#include "game/LevelSimulation.hpp"
#include "game/PlayerFace.hpp"
#include "level/TileImages.hpp"

TEST(FaceImpact, ANewExpressionIsHeldForTwoSeconds) {
    FaceAnimation face;
    face.reactToImpact();
    const int first = face.expression();
    EXPECT_FLOAT_EQ(face.holdLeft(), 2.0f);
    face.update(1.0f);
    face.reactToImpact();
    EXPECT_FLOAT_EQ(face.holdLeft(), 1.0f) << "a knock one second later changes nothing";
    EXPECT_EQ(face.expression(), first);
    face.update(1.0f);
    face.reactToImpact();
    EXPECT_FLOAT_EQ(face.holdLeft(), 2.0f) << "two seconds later it reacts again";
}

// A knock harder than the reaction speed makes the face react once, however
// long the ball then goes without touching anything. During the countdown
// the world does not step, so no contact adds or overwrites a knock.
TEST(FaceImpact, AHardKnockMakesOneReaction) {
    TileImages noPictures;
    LevelSimulation sim(noPictures, raceMode, TurnSpeeds());
    sim.buildLevel(closedRoom());
    std::vector<bool> reactions;
    for (float speed : {LevelSimulation::reactionSpeed, LevelSimulation::reactionSpeed + 1.0f}) {
        sim.play().impactSpeed = speed;
        for (int frame = 0; frame < 3; ++frame) {
            reactions.push_back(sim.advance(1.0f / 60.0f).impactReaction);
        }
    }
    ASSERT_TRUE(sim.play().countdownRunning);
    EXPECT_EQ(reactions, (std::vector<bool>{false, false, false, true, false, false}));
}
