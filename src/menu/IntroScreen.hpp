#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>

#include "app/audio/SoundEffect.hpp"

class GameWindow;

// The logo shown at start while the jingle plays: it fades in from black over
// 5 seconds and ends when the jingle ends, or at once when Return, Escape or
// Space is released. Its last frame shows "Loading, please wait..." and stays
// up while the main menu loads.
class IntroScreen {
  public:
    static constexpr float fadeDuration = 5.0f;

    explicit IntroScreen(GameWindow& window);
    void run();

    bool isFinished() const { return finished; }
    float fadeProgress() const { return fadeElapsed; }

  private:
    // Reads the keys, watches the jingle and lets the logo fade in.
    void update(float frameTime);
    void handleEvents();
    // The logo under its fade, and the loading message once the intro ends.
    void draw() const;

    GameWindow& window;
    SoundEffect jingle;
    bool finished = false;
    sf::Texture logoTexture;
    sf::Sprite logoSprite;
    sf::View view;
    sf::Font font;
    sf::Text label;
    float fadeElapsed = 0.0f;
};
