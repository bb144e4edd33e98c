#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Window/Keyboard.hpp>

#include "app/look/MenuList.hpp"

class GameWindow;
class SoundEffect;

// The menu over the frozen level: "Continue", "Restart", "Next Level",
// "Exit". Choices that leave the level first fade to black over a second;
// while that fade runs the menu reads no keys at all.
class PauseMenu {
  public:
    enum class Choice { none, resume, restart, nextLevel, exit };
    static constexpr float fadeStart = 2.0f;
    static constexpr float fadeRate = 2.0f;  // per second: black after 1 s

    // The four items in the font at size 56, tops at 300, 400, 500, 600.
    void setup(const sf::Font& font);

    // A key press while waiting for a choice. Escape and "Continue" resume at
    // once; the other choices start the fade and update() returns them when
    // it ends.
    Choice onKeyPressed(sf::Keyboard::Key key, SoundEffect& click);
    bool fading() const { return fade >= 0.0f; }
    // Clears the leaving choice (every level build does).
    void clearRequests();

    // Advances the highlight's pulse and the fade. Returns the leaving choice
    // in the frame the fade ends, Choice::none otherwise.
    Choice update(float frameTime);
    // The panel and items, and the fade cover while fading.
    void draw(GameWindow& window) const;
    int fadeAlpha() const;

    MenuList list;
    float fade = -1.0f;  // below 0 while waiting; 2 down to 0 while fading
    bool restartRequested = false;
    bool nextLevelRequested = false;
};
