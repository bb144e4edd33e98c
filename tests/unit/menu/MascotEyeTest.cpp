#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "menu/MascotEye.hpp"

constexpr float frame = 1.0f / 60.0f;

TEST(MascotEye, WaitsThenPlaysForwardAndBackHoldingTheLastFrameForTwoSteps) {
    // Steps of three screen frames make the sequence readable frame by frame.
    const float step = 3.0f * frame - 0.0001f;
    MascotEye eye(0.5f, step, {2.0f, 2.0f, step, step});
    int waited = 0;
    while (eye.phase() == MascotEye::waiting && waited < 1000) {
        eye.update(frame);
        ++waited;
    }
    // 0.5 s of waiting at 60 frames per second, then the frame that starts it.
    EXPECT_NEAR(waited, 31, 1);
    std::vector<int> changes{eye.frame()};
    int framesOnLast = 0;
    for (int i = 0; i < 200 && eye.phase() != MascotEye::waiting; ++i) {
        eye.update(frame);
        if (eye.frame() != changes.back()) {
            changes.push_back(eye.frame());
        }
        framesOnLast += eye.frame() == MascotEye::frameCount - 1 ? 1 : 0;
    }
    EXPECT_EQ(changes, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(framesOnLast, 6) << "frame 8 is held for two steps of three frames";
    EXPECT_EQ(eye.waitLeft(), 2.0f) << "a fresh wait is drawn from the later range";

    // Steps far shorter than a screen frame still show every picture.
    MascotEye quick(0.0f, 0.0001f, {1.0f, 1.0f, 0.0001f, 0.0001f});
    int last = 0;
    for (int i = 0; i < 40 && quick.waitLeft() < 1.0f; ++i) {
        quick.update(frame);
        EXPECT_LE(std::abs(quick.frame() - last), 1);
        last = quick.frame();
    }
}
