#include <gtest/gtest.h>

#include <vector>

#include "app/Random.hpp"
#include "game/PlayerFace.hpp"
#include "game/Popup.hpp"

TEST(FaceBlink, EyesWaitFirstThenBlinkThroughEveryFrameAndBack) {
    Random::seed(7);
    FaceAnimation face;
    EXPECT_GE(face.leftEye().wait, 1.0f);
    EXPECT_LE(face.leftEye().wait, 3.0f);
    EXPECT_GE(face.rightEye().wait, 0.5f);
    EXPECT_LE(face.rightEye().wait, 4.0f);

    // Nothing moves before the first wait of the left eye is over.
    const float firstWait = face.leftEye().wait;
    float t = 0.0f;
    while (t + 0.01f < firstWait) {
        face.update(0.01f);
        t += 0.01f;
        ASSERT_EQ(face.leftEye().frame, 0);
        ASSERT_EQ(face.leftEye().state, EyeBlink::waiting);
    }

    // A whole blink: frames 0 up to 8, back to 0, one step per frame at most,
    // even with long frames.
    EyeBlink eye;
    eye.frameTimer = eye.frameDuration = 0.02f;
    const EyeBlink::Timing timing{0.5f, 10.0f, 0.005f, 0.015f};
    std::vector<int> shown;
    int frames = 0;
    do {
        eye.update(0.1f, timing);
        shown.push_back(eye.frame);
        ++frames;
    } while (eye.state != EyeBlink::waiting && frames < 100);
    EXPECT_GE(frames, 16);
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), 8);
    EXPECT_EQ(shown.back(), 0);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_LE(std::abs(shown[i] - shown[i - 1]), 1);
    }
    EXPECT_GE(eye.wait, 0.5f);
    EXPECT_LE(eye.wait, 10.0f);
    EXPECT_GE(eye.frameDuration, 0.005f);
    EXPECT_LE(eye.frameDuration, 0.015f);

    // With frames shorter than the frame length, steps wait for the timer.
    EyeBlink slow;
    slow.frameTimer = slow.frameDuration = 0.05f;
    slow.update(0.01f, timing);  // starts closing, and its timer runs already
    for (int i = 0; i < 3; ++i) {
        slow.update(0.01f, timing);
    }
    EXPECT_EQ(slow.frame, 0);
    slow.update(0.011f, timing);
    EXPECT_EQ(slow.frame, 1);
}

TEST(FaceImpact, ANewExpressionIsHeldForTwoSeconds) {
    FaceAnimation face;
    EXPECT_EQ(face.expression(), 0);
    face.reactToImpact();
    EXPECT_FLOAT_EQ(face.holdLeft(), 2.0f);
    const int first = face.expression();
    EXPECT_GE(first, 0);
    EXPECT_LT(first, FaceAnimation::expressionCount);
    face.update(1.0f);
    face.reactToImpact();
    EXPECT_FLOAT_EQ(face.holdLeft(), 1.0f) << "a knock one second later changes nothing";
    EXPECT_EQ(face.expression(), first);
    face.update(1.0f);
    face.reactToImpact();
    EXPECT_FLOAT_EQ(face.holdLeft(), 2.0f) << "two seconds later it reacts again";

    face.setColour(2);
    EXPECT_EQ(face.getColour(), 2);
    face.setColour(9);
    EXPECT_EQ(face.getColour(), 2) << "no colour outside the six";
}

TEST(Popup, WaitsThenShrinksAndFadesToNothing) {
    Popup number(nullptr, sf::Vector2f(200.0f, 100.0f), 0.666f, 0.3f);
    number.update(0.2f);
    EXPECT_FLOAT_EQ(number.currentWidth(), 200.0f);
    EXPECT_EQ(number.alpha(), 255);
    // The frame that ends the delay already shrinks by its whole time.
    number.update(0.2f);
    EXPECT_NEAR(number.currentWidth(), 200.0f - 200.0f * 0.2f / 0.666f, 1e-3f);
    EXPECT_NEAR(number.currentHeight(), 100.0f - 100.0f * 0.2f / 0.666f, 1e-3f);
    EXPECT_EQ(number.alpha(), static_cast<int>(number.currentWidth() / 200.0f * 255.0f));
    EXPECT_FALSE(number.gone());
    int frames = 0;
    while (!number.gone()) {
        number.update(1.0f / 60.0f);
        ++frames;
        ASSERT_LT(frames, 100);
    }
    // 0.466 s left of 0.666 at 60 frames per second; the last frame takes the
    // height (the smaller side) below one pixel.
    EXPECT_NEAR(frames, 28, 1);
    EXPECT_EQ(number.alpha(), 0);

    // A missing picture is gone at once.
    Popup missing(nullptr, 0.9993f);
    EXPECT_TRUE(missing.gone());
}
