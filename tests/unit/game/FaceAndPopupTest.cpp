#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TestLevels.hpp"
#include "game/LevelSimulation.hpp"
#include "game/PlayerFace.hpp"
#include "game/Popup.hpp"
#include "level/TileImages.hpp"

TEST(FaceBlink, EyesCloseThroughEveryFrameAndOpenAgainOneStepPerFrame) {
    // Frames ten times longer than a blink frame: still one step each.
    EyeBlink eye;
    eye.frameTimer = eye.frameDuration = 0.02f;
    const EyeBlink::Timing timing{0.5f, 10.0f, 0.005f, 0.015f};
    std::vector<int> shown;
    do {
        eye.update(0.1f, timing);
        shown.push_back(eye.frame);
    } while (eye.state != EyeBlink::waiting && shown.size() < 100);
    EXPECT_GE(shown.size(), 16u);
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), EyeBlink::frameCount - 1);
    EXPECT_EQ(shown.back(), 0);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_LE(std::abs(shown[i] - shown[i - 1]), 1);
    }
    // The next wait and frame length come from the given ranges.
    EXPECT_GE(eye.wait, 0.5f);
    EXPECT_LE(eye.wait, 10.0f);
    EXPECT_GE(eye.frameDuration, 0.005f);
    EXPECT_LE(eye.frameDuration, 0.015f);
}

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

TEST(Popup, WaitsThenShrinksAndFadesToNothing) {
    Popup number(nullptr, sf::Vector2f(200.0f, 100.0f), 0.666f, 0.3f);
    number.update(0.2f);
    EXPECT_FLOAT_EQ(number.currentWidth(), 200.0f);
    EXPECT_EQ(number.alpha(), 255);
    // The frame that ends the delay already shrinks by its whole time.
    number.update(0.2f);
    EXPECT_NEAR(number.currentWidth(), 200.0f - 200.0f * 0.2f / 0.666f, 1e-3f);
    EXPECT_EQ(number.alpha(), static_cast<int>(number.currentWidth() / 200.0f * 255.0f));
    int frames = 0;
    while (!number.gone() && frames < 100) {
        number.update(1.0f / 60.0f);
        ++frames;
    }
    // 0.466 s left of 0.666 at 60 frames per second; the last frame takes the
    // height (the smaller side) below one pixel.
    EXPECT_NEAR(frames, 28, 1);
    EXPECT_TRUE(Popup(nullptr, 0.9993f).gone()) << "a missing picture is gone at once";
}
