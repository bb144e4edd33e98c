#pragma once

#include <SFML/Window/Event.hpp>

#include <deque>

// One axis of a pad walking a menu: a firm push presses the arrow key of its
// side, easing off releases it, and a push held on repeats the press as a held
// key would.
class PadDirection {
  public:
    PadDirection(sf::Keyboard::Key negative, sf::Keyboard::Key positive);

    // The axis' push now (-100..100); key events of the change go to `out`.
    void follow(float push, std::deque<sf::Event>& out);
    // Frame time passes for the repeat.
    void advance(float seconds);
    // The repeats that fell due since the last call.
    void takeRepeats(std::deque<sf::Event>& out);
    // A push held now is left alone until it ends: the screen that asked for
    // it has gone.
    void ignoreHeld();

  private:
    sf::Keyboard::Key keyOf(int side) const { return side < 0 ? negative : positive; }

    sf::Keyboard::Key negative;
    sf::Keyboard::Key positive;
    int side = 0;  // -1, 0 or 1: the direction held
    bool muted = false;
    float untilRepeat = 0.0f;
    int repeatsDue = 0;
};
