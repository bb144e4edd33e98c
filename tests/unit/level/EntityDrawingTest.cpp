#include <gtest/gtest.h>
#include <SFML/Graphics/RenderTexture.hpp>

#include <cstdlib>
#include <memory>

#include "LevelTestSupport.hpp"
#include "level/TileKinds.hpp"

namespace {

// Drawing needs a graphics context; the sanitizer pass runs without a display.
class EntityDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') {
            GTEST_SKIP() << "no display";
        }
        // Even an unused texture opens a graphics context, so only now.
        canvas = std::make_unique<sf::RenderTexture>();
        ASSERT_TRUE(canvas->create(256, 128));
        ASSERT_TRUE(images.loadImages("data/images/"));
        images.createTextures();
    }

    // Clears to black, draws every entity with the view centred on (x, y), and
    // returns the picture.
    sf::Image drawAll(Level& level, float x, float y) {
        canvas->setView(sf::View(sf::Vector2f(x, y), sf::Vector2f(256, 128)));
        canvas->clear(sf::Color::Black);
        for (auto& [number, entity] : level.entities) {
            entity->draw(*canvas);
        }
        canvas->display();
        return canvas->getTexture().copyToImage();
    }

    std::unique_ptr<sf::RenderTexture> canvas;
    TileImages images;
    PlayState play;
};

// Close enough for a smoothed texture drawn at whole pixels.
bool near(sf::Color a, sf::Color b) {
    return std::abs(a.r - b.r) < 12 && std::abs(a.g - b.g) < 12 && std::abs(a.b - b.b) < 12;
}

TEST_F(EntityDrawing, TilesShowTheirPictureOnTheirCell) {
    const auto level = buildLevel(mapOf({{3, 0, 1}}), images, play);
    // View centred on the wall's cell, pixel (0, 0) of the world.
    const sf::Image shot = drawAll(*level, 0.0f, 0.0f);
    const sf::Image& wall = images.image(TileImages::wall);
    EXPECT_TRUE(near(shot.getPixel(128 - 16, 64 - 16), wall.getPixel(16, 16)));
    EXPECT_TRUE(near(shot.getPixel(128 + 16, 64 + 10), wall.getPixel(48, 42)));
    EXPECT_EQ(shot.getPixel(128 + 100, 64), sf::Color::Black);  // the empty cell beside it
}

TEST_F(EntityDrawing, FarEntitiesAreNotDrawnAndLooseOnesFollowTheirBody) {
    const auto level = buildLevel(mapOf({{1, 0, 10}}), images, play);
    Entity& ball = *level->entities.begin()->second;
    ball.body()->SetTransform(b2Vec2(20.0f, -2.0f), 0.0f);
    const sf::Image moved = drawAll(*level, 1000.0f, 100.0f);
    const sf::Image& picture = images.image(TileImages::looseBall);
    EXPECT_TRUE(near(moved.getPixel(128, 64), picture.getPixel(32, 32)));
    EXPECT_EQ(ball.sprite().getPosition(), sf::Vector2f(1000, 100));

    // Beyond a whole view size away: not drawn, and the sprite stays put.
    ball.body()->SetTransform(b2Vec2(40.0f, -2.0f), 0.0f);
    const sf::Image far = drawAll(*level, 1000.0f, 100.0f);
    EXPECT_EQ(far.getPixel(128, 64), sf::Color::Black);
    EXPECT_EQ(ball.sprite().getPosition(), sf::Vector2f(1000, 100));
}

TEST_F(EntityDrawing, SwitchesDrawTheirGlowOverTheirPicture) {
    const auto level = buildLevel(mapOf({{1, 0, TileId::switchOf(Colour::green)}}), images, play);
    Entity& lever = *level->entities.begin()->second;
    const sf::Image first = drawAll(*level, 128.0f, 0.0f);
    for (int i = 0; i < 4; ++i) {
        lever.animate(0.088f);
    }
    const sf::Image later = drawAll(*level, 128.0f, 0.0f);
    // The glow changes from frame to frame; the switch stays where it is.
    bool changed = false;
    for (unsigned y = 40; y < 88; ++y) {
        for (unsigned x = 104; x < 152; ++x) {
            changed = changed || first.getPixel(x, y) != later.getPixel(x, y);
        }
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(first.getPixel(10, 10), sf::Color::Black);
}

}  // namespace
