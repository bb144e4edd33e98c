#include <gtest/gtest.h>

#include "app/ParticleEmitter.hpp"
#include "app/Random.hpp"
#include "game/Bursts.hpp"
#include "level/TileImages.hpp"

TEST(Bursts, ColoursFollowTheEventKindAndColour) {
    using Kind = ContactEvent::Kind;
    const std::pair<ContactEvent, sf::Color> table[] = {
        {{Kind::colour, Colour::blue, {}}, sf::Color(0, 67, 237)},
        {{Kind::colour, Colour::green, {}}, sf::Color(22, 237, 0)},
        {{Kind::colour, Colour::red, {}}, sf::Color(237, 0, 0)},
        {{Kind::colour, Colour::yellow, {}}, sf::Color(222, 238, 0)},
        {{Kind::colour, Colour::none, {}}, sf::Color::White},
        {{Kind::brokenBlock, Colour::none, {}}, sf::Color(109, 73, 30)},
        {{Kind::penalty, Colour::none, {}}, sf::Color::White},
    };
    for (const auto& [event, colour] : table) {
        EXPECT_EQ(burstColour(event), colour) << static_cast<int>(event.kind);
    }
}

TEST(Bursts, APenaltyMakesOneSignAndABreakAHandfulOfStars) {
    Random::seed(3);
    const TileImages noPictures;
    ParticleEmitter penalty;
    configureBurst(penalty,
                   ContactEvent{ContactEvent::Kind::penalty, Colour::none, {100.0f, -50.0f}},
                   noPictures);
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
        configureBurst(stars, ContactEvent{ContactEvent::Kind::colour, Colour::green, {}},
                       noPictures);
        stars.update(1.0f / 60.0f);
        EXPECT_GE(stars.live().size(), 5u);
        EXPECT_LE(stars.live().size(), 15u);
        stars.update(1.0f / 60.0f);
        EXPECT_LE(stars.live().size(), 15u) << "a burst emits in its first frame only";
        EXPECT_EQ(stars.colourAt(0.3f), sf::Color(22, 237, 0, 255));
    }

    // A burst is finished once its last particle has lived (at most 4 s).
    ParticleEmitter brief;
    configureBurst(brief, ContactEvent{ContactEvent::Kind::brokenBlock, Colour::none, {}},
                   noPictures);
    int frames = 0;
    while (!brief.finished && frames < 1000) {
        brief.update(1.0f / 60.0f);
        ++frames;
    }
    EXPECT_TRUE(brief.finished);
    EXPECT_LE(frames, 4 * 60 + 2);
}

TEST(Bursts, LevelCloudsGrowWithTheLevel) {
    ParticleEmitter clouds;
    configureLevelClouds(clouds, 40, 30, nullptr);
    EXPECT_FLOAT_EQ(clouds.rate, 120.0f);
    EXPECT_EQ(clouds.spawnExtent, sf::Vector2f(3720.0f, 2790.0f));
    EXPECT_EQ(clouds.colourAt(0.5f).a, 93);
    EXPECT_FLOAT_EQ(clouds.scaleAt(0.2f), 1.0f);
}
