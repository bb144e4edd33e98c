#include "menu/TitleMascot.hpp"

#include <string>

#include "app/files/Files.hpp"
#include "app/platform/GameWindow.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

// Loads a picture into a sprite whose origin is the picture's centre, placed
// on (x, y).
void centreSprite(sf::Sprite& sprite, sf::Texture& texture, const std::string& path, float x,
                  float y) {
    loadTexture(texture, path);
    sprite.setTexture(texture, true);
    const sf::Vector2u size = texture.getSize();
    sprite.setOrigin(static_cast<float>(size.x) * 0.5f, static_cast<float>(size.y) * 0.5f);
    sprite.setPosition(x, y);
}

}  // namespace

void TitleMascot::setup(float centreX) {
    left = MascotEye::left();
    right = MascotEye::right();
    const std::string base = dataPath("images/bighead/");
    centreSprite(body, bodyTexture, base + "bodyred.png", centreX, centreY);
    for (std::size_t i = 0; i < framesPerEye; ++i) {
        const std::string number = std::to_string(i + 1);
        centreSprite(leftFrames[i], eyeTextures[i], base + "eyel" + number + ".png", centreX,
                     centreY);
        centreSprite(rightFrames[i], eyeTextures[framesPerEye + i], base + "eyer" + number + ".png",
                     centreX, centreY);
    }
    centreSprite(mouth, mouthTexture, base + "mouth.png", centreX, centreY);
}

void TitleMascot::update(float frameTime) {
    left.update(frameTime);
    right.update(frameTime);
}

void TitleMascot::draw(GameWindow& window) const {
    window.draw(body);
    window.draw(leftFrames[static_cast<std::size_t>(left.frame())]);
    window.draw(rightFrames[static_cast<std::size_t>(right.frame())]);
    window.draw(mouth);
}
