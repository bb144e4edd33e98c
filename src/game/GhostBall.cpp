#include "game/GhostBall.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include "app/Files.hpp"
#include "app/GameWindow.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/Units.hpp"

void GhostBall::loadImage() {
    loadTexture(texture, dataPath("images/bodyred.png"));
    texture.setSmooth(true);
}

void GhostBall::follow(std::unique_ptr<GhostTrack> next) {
    track = std::move(next);
    current.reset();
}

void GhostBall::update(long long step) {
    if (track) {
        current = track->poseAfterStep(step);
    }
}

void GhostBall::draw(GameWindow& window) const {
    if (!current || texture.getSize().x == 0) {
        return;
    }
    sf::Sprite sprite(texture);
    const sf::Vector2u size = texture.getSize();
    sprite.setOrigin(static_cast<float>(size.x / 2), static_cast<float>(size.y / 2));
    // The ball's sprite mapping (level/Ball): y flips, the angle turns alike.
    sprite.setPosition(current->position.x * pixelsPerUnit, -current->position.y * pixelsPerUnit);
    sprite.setRotation(current->angle * degreesPerRadian);
    sprite.setColor(sf::Color(255, 255, 255, alpha));
    window.draw(sprite);
}
