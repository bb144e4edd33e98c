#include <gtest/gtest.h>

#include "app/ParticleEmitter.hpp"
#include "app/Random.hpp"
#include "game/Bursts.hpp"
#include "level/Level.hpp"
#include "level/TileImages.hpp"

TEST(Bursts, ColoursFollowTheEventCode) {
    EXPECT_EQ(burstColour(0), sf::Color(0, 67, 237));
    EXPECT_EQ(burstColour(2), sf::Color(22, 237, 0));
    EXPECT_EQ(burstColour(4), sf::Color(237, 0, 0));
    EXPECT_EQ(burstColour(5), sf::Color(222, 238, 0));
    EXPECT_EQ(burstColour(99), sf::Color(109, 73, 30));
    EXPECT_EQ(burstColour(666), sf::Color::White);
    EXPECT_EQ(burstColour(6), sf::Color::White);
}

TEST(Bursts, APenaltyMakesOneSignAndABreakAHandfulOfStars) {
    Random::seed(3);
    const TileImages noPictures;
    ParticleEmitter penalty;
    configureBurst(penalty, ContactEvent{100.0f, -50.0f, 666.0f}, noPictures);
    EXPECT_EQ(penalty.kind, ParticleEmitter::penaltyKind);
    penalty.update(1.0f / 60.0f);
    ASSERT_EQ(penalty.live().size(), 1u);
    EXPECT_NEAR(penalty.live()[0].position.x, 100.0f, 16.0f + 75.0f / 60.0f + 1e-3f);
    // Opaque white from a tenth of its life to four fifths, then fading.
    EXPECT_EQ(penalty.colourAt(0.5f), sf::Color::White);
    EXPECT_EQ(penalty.colourAt(0.0f).a, 0);
    EXPECT_FLOAT_EQ(penalty.scaleAt(0.0f), 0.32f);

    for (int i = 0; i < 20; ++i) {
        ParticleEmitter stars;
        configureBurst(stars, ContactEvent{0.0f, 0.0f, 2.0f}, noPictures);
        stars.update(1.0f / 60.0f);
        EXPECT_GE(stars.live().size(), 5u);
        EXPECT_LE(stars.live().size(), 15u);
        stars.update(1.0f / 60.0f);
        EXPECT_LE(stars.live().size(), 15u) << "a burst emits in its first frame only";
        EXPECT_EQ(stars.colourAt(0.3f), sf::Color(22, 237, 0, 255));
    }

    // A burst is finished once its last particle has lived (at most 4 s).
    ParticleEmitter brief;
    configureBurst(brief, ContactEvent{0.0f, 0.0f, 99.0f}, noPictures);
    int frames = 0;
    while (!brief.finished && frames < 1000) {
        brief.update(1.0f / 60.0f);
        ++frames;
    }
    EXPECT_TRUE(brief.finished);
    EXPECT_LE(frames, 4 * 60 + 2);
}

TEST(Bursts, LevelCloudsGrowWithTheLevelAsFarAsItIsBuilt) {
    ParticleEmitter clouds;
    configureLevelClouds(clouds, 40, 30, nullptr);
    EXPECT_FLOAT_EQ(clouds.rate, 120.0f);
    EXPECT_EQ(clouds.spawnExtent, sf::Vector2f(3720.0f, 2790.0f));
    EXPECT_EQ(clouds.colourAt(0.5f).a, 93);
    EXPECT_FLOAT_EQ(clouds.scaleAt(0.2f), 1.0f);
    // A file may claim any size; clouds cover no more cells than are built.
    ParticleEmitter huge;
    configureLevelClouds(huge, 20000, 20000, nullptr);
    ParticleEmitter largest;
    configureLevelClouds(largest, Level::maxCells, Level::maxCells, nullptr);
    EXPECT_FLOAT_EQ(huge.rate, largest.rate);
    EXPECT_EQ(huge.spawnExtent, largest.spawnExtent);
    EXPECT_EQ(huge.centre, largest.centre);
}
