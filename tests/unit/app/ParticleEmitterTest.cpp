#include <gtest/gtest.h>

#include <cmath>

#include "app/ParticleEmitter.hpp"
#include "app/Random.hpp"

TEST(CloudBackdrop, FractionsAddUpToFiveCloudsPerSecond) {
    Random::seed(7);
    ParticleEmitter clouds;
    configureCloudBackdrop(clouds, nullptr);
    clouds.lifetime = 1000.0f;  // keep every cloud so all can be counted
    clouds.lifetimeVariance = 0.0f;
    const float frameTime = 1.0f / 60.0f;
    for (int frame = 0; frame < 60 * 20; ++frame) {
        clouds.update(frameTime);
    }
    // No single frame's count reaches 1 (at most 10/60), yet 20 s give ~100.
    EXPECT_NEAR(static_cast<double>(clouds.live().size()), 100.0, 12.0);
}

TEST(CloudBackdrop, DragStopsACloudAfterFiveSecondsWhicheverWayItMoves) {
    for (float angle : {37.0f, 250.0f}) {
        ParticleEmitter emitter;
        emitter.burst = true;
        emitter.rate = 1.0f;
        emitter.direction = angle;
        emitter.directionVariance = 0.0f;
        emitter.speed = 50.0f;
        emitter.speedVariance = 0.0f;
        emitter.drag = 10.0f;
        emitter.spawnExtent = sf::Vector2f(0.0f, 0.0f);
        emitter.lifetime = 100.0f;
        emitter.lifetimeVariance = 0.0f;
        emitter.update(0.0f);
        ASSERT_EQ(emitter.live().size(), 1u);
        for (int frame = 0; frame < 299; ++frame) {
            emitter.update(1.0f / 60.0f);
        }
        const Particle& p = emitter.live().front();
        EXPECT_GT(std::hypot(p.velocity.x, p.velocity.y), 0.0f) << angle;
        for (int frame = 0; frame < 3; ++frame) {
            emitter.update(1.0f / 60.0f);
        }
        EXPECT_FLOAT_EQ(p.velocity.x, 0.0f) << angle;
        EXPECT_FLOAT_EQ(p.velocity.y, 0.0f) << angle;
        // Rest point: 50 * 5 / 2 = 125 units from where it started, along its line.
        const float travelled = std::hypot(p.position.x, p.position.y);
        EXPECT_NEAR(travelled, 125.0f, 1.5f) << angle;
    }
}
