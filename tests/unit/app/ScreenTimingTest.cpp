#include <gtest/gtest.h>

#include "app/look/ScreenFade.hpp"

TEST(ScreenFadeTiming, FadeInLastsZeroPointEightSecondsAtAnyFrameRateAndFadeOutEndsOnce) {
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

    // Scene tests time the fade-out; here it ends once, however long it runs on.
    fade = ScreenFade();
    fade.startFadeOut();
    int ends = 0;
    for (int frame = 0; frame < 200; ++frame) {
        ends += fade.advance(1.0f / 60.0f) ? 1 : 0;
    }
    EXPECT_EQ(ends, 1);
}
