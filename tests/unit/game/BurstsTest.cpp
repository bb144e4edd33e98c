#include <gtest/gtest.h>

#include "app/ParticleEmitter.hpp"
#include "app/Random.hpp"
#include "game/Bursts.hpp"
#include "level/TileImages.hpp"

TEST(Bursts, APenaltyMakesOneSignAndABreakAHandfulOfStarsOnce) {
    Random::seed(3);
    const TileImages noPictures;
    ParticleEmitter penalty;
    configureBurst(penalty, ContactEvent{100.0f, -50.0f, 666.0f}, noPictures);
    EXPECT_EQ(penalty.kind, ParticleEmitter::penaltyKind);
    penalty.update(1.0f / 60.0f);
    ASSERT_EQ(penalty.live().size(), 1u);
    EXPECT_NEAR(penalty.live()[0].position.x, 100.0f, 16.0f + 75.0f / 60.0f + 1e-3f);

    for (int i = 0; i < 20; ++i) {
        ParticleEmitter stars;
        configureBurst(stars, ContactEvent{0.0f, 0.0f, 2.0f}, noPictures);
        stars.update(1.0f / 60.0f);
        EXPECT_GE(stars.live().size(), 5u);
        EXPECT_LE(stars.live().size(), 15u);
        stars.update(1.0f / 60.0f);
        EXPECT_LE(stars.live().size(), 15u) << "a burst emits in its first frame only";
        EXPECT_EQ(stars.colourAt(0.3f), burstColour(2));
    }

    // A burst is finished once its last particle has lived (at most 4 s).
    ParticleEmitter brief;
    configureBurst(brief, ContactEvent{0.0f, 0.0f, 99.0f}, noPictures);
    int frames = 0;
    while (!brief.finished && frames < 1000) {
        brief.update(1.0f / 60.0f);
        ++frames;
    }
    EXPECT_LE(frames, 4 * 60 + 2);
}
