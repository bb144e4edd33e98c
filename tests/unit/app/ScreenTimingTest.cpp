#include <gtest/gtest.h>

#include "app/ScreenFade.hpp"

namespace {

// Runs the fade with a frame time until the fade-out reports its end.
int framesUntilFadeOutEnds(float frameTime) {
    ScreenFade fade;
    fade.fadeIn = -1.0f;
    fade.startFadeOut();
    for (int frame = 1; frame < 10000; ++frame) {
        if (fade.advance(frameTime)) {
            return frame;
        }
    }
    return -1;
}

}  // namespace

TEST(ScreenFadeTiming, FadeInLastsZeroPointEightSecondsAtAnyFrameRate) {
    for (float frameTime : {1.0f / 60.0f, 1.0f / 30.0f, 0.1f}) {
        ScreenFade fade;
        EXPECT_EQ(ScreenFade::fadeInAlpha(fade.fadeIn), 255);
        float elapsed = 0.0f;
        while (fade.fadeIn >= 0.0f) {
            fade.advance(frameTime);
            elapsed += frameTime;
        }
        EXPECT_NEAR(elapsed, 0.8f, frameTime + 1e-4f);
    }
    // Keys count from 0.2 s on for a threshold of 1.5.
    ScreenFade fade;
    fade.advance(0.19f);
    EXPECT_FALSE(fade.acceptsInput(1.5f));
    fade.advance(0.02f);
    EXPECT_TRUE(fade.acceptsInput(1.5f));
    EXPECT_FALSE(fade.acceptsInput(0.0f));
    fade.startFadeOut();
    EXPECT_FALSE(fade.acceptsInput(1.5f));
}

TEST(ScreenFadeTiming, FadeOutLastsOneSecondAndEndsOnce) {
    EXPECT_EQ(framesUntilFadeOutEnds(1.0f / 60.0f), 61);
    EXPECT_EQ(framesUntilFadeOutEnds(0.25f), 5);
    EXPECT_EQ(ScreenFade::fadeOutAlpha(1.0f), 127);
    EXPECT_EQ(ScreenFade::fadeOutAlpha(-0.1f), 0);

    ScreenFade fade;
    fade.startFadeOut();
    int ends = 0;
    for (int frame = 0; frame < 200; ++frame) {
        ends += fade.advance(1.0f / 60.0f) ? 1 : 0;
    }
    EXPECT_EQ(ends, 1);
}
