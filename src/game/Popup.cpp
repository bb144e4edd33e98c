#include "game/Popup.hpp"

#include <algorithm>

#include "app/platform/GameWindow.hpp"

namespace {

sf::Vector2f sizeOf(const sf::Texture* texture) {
    return texture != nullptr ? sf::Vector2f(texture->getSize()) : sf::Vector2f();
}

}  // namespace

Popup::Popup(const sf::Texture* texture, float duration, float delay)
    : Popup(texture, sizeOf(texture), duration, delay) {}

Popup::Popup(const sf::Texture* texture, sf::Vector2f size, float duration, float delay)
    : duration(duration),
      startWidth(size.x),
      startHeight(size.y),
      width(size.x),
      height(size.y),
      delay(delay) {
    if (texture != nullptr) {
        picture.setTexture(*texture, true);
    }
    picture.setOrigin(startWidth * 0.5f, startHeight * 0.5f);
}

void Popup::update(float frameTime) {
    if (delay > 0.0f) {
        delay -= frameTime;
    }
    if (delay > 0.0f) {
        return;
    }
    elapsed += frameTime;
    // Linear in time: full size at the start, nothing after `duration`.
    const float shrink = elapsed / duration;
    width = startWidth - startWidth * shrink;
    height = startHeight - startHeight * shrink;
    if (startWidth > 0.0f && startHeight > 0.0f) {
        picture.setScale(width / startWidth, height / startHeight);
        picture.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(alpha())));
    }
}

int Popup::alpha() const {
    if (!(startWidth > 0.0f)) {
        return 0;
    }
    return std::clamp(static_cast<int>(width / startWidth * 255.0f), 0, 255);
}

void Popup::draw(GameWindow& window) const {
    if (gone() || picture.getTexture() == nullptr) {
        return;
    }
    window.draw(picture);
}
