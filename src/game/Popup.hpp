#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

class GameWindow;

// A picture that stays for `delay` seconds, then shrinks to nothing over
// `duration` seconds, fading as it shrinks: broken blocks and targets, and the
// countdown numbers. Its owner drops it once gone().
class Popup {
  public:
    // Shows the whole texture at its own size, origin at its centre. A missing
    // picture (null or 0 x 0) is gone at once.
    Popup(const sf::Texture* texture, float duration, float delay = 0.0f);
    // The same with the picture's size given (pixels); the texture may be
    // null, and the popup then only keeps time.
    Popup(const sf::Texture* texture, sf::Vector2f size, float duration, float delay);

    // Counts the delay down, then shrinks by the frame time.
    void update(float frameTime);
    void draw(GameWindow& window) const;
    // Shrunk below one pixel either way.
    bool gone() const { return width < 1.0f || height < 1.0f; }

    sf::Sprite& sprite() { return picture; }
    float currentWidth() const { return width; }
    float currentHeight() const { return height; }
    float remainingDelay() const { return delay; }
    // Opacity that goes with the current size (0..255).
    int alpha() const;

  private:
    float duration;
    float startWidth;
    float startHeight;
    float width;
    float height;
    float elapsed = 0.0f;
    sf::Sprite picture;
    float delay;
};
