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
    const auto level = buildLevel(mapOf({{3, 0, 1}}), images, play, "no-sounds/");
    // View centred on the wall's cell, pixel (0, 0) of the world.
    const sf::Image shot = drawAll(*level, 0.0f, 0.0f);
    const sf::Image& wall = images.image(TileImages::wall);
    EXPECT_TRUE(near(shot.getPixel(128 - 16, 64 - 16), wall.getPixel(16, 16)));
    EXPECT_TRUE(near(shot.getPixel(128 + 16, 64 + 10), wall.getPixel(48, 42)));
    EXPECT_EQ(shot.getPixel(128 + 100, 64), sf::Color::Black);  // the empty cell beside it
}

}  // namespace
