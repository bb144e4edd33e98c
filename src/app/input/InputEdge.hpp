#pragma once

#include <SFML/Window/Event.hpp>

#include <deque>
#include <vector>

#include "app/input/KeyBindings.hpp"
#include "app/input/PadDirection.hpp"
#include "app/input/PadReader.hpp"
#include "app/input/PlayKeys.hpp"

// Who reads the events: the menus (every front-end screen and the pause menu)
// or play.
enum class InputUse { menu, play };

// Where the player's devices become the events the screens know. In menus a
// pad's stick or d-pad steps like the arrow keys (with repeat while held) and
// its buttons press Return or Escape; keys pass unchanged. In play the keys
// bound to actions become the actions' own keys, the stick's push becomes the
// analog turn (TurnEvent), up and down stay arrow keys for the highscore
// table, and the buttons jump and pause. Raw pad events never get past here.
class InputEdge {
  public:
    // Switching use leaves a direction held on a pad alone until it is let
    // go, so the new screen does not step at once; play re-sends the turn.
    void setUse(InputUse next, std::deque<sf::Event>& out);
    void setBindings(const KeyBindings& bindings) { playKeys.setBindings(bindings); }

    // One event from the window: what the screens get for it goes to `out`.
    void translate(const sf::Event& raw, std::deque<sf::Event>& out);
    // Frame time passes: held menu directions fall due to repeat.
    void advance(float seconds);
    // Repeats due since the last call (menus only).
    void takeRepeats(std::deque<sf::Event>& out);

    bool padConnected() const { return pads.anyConnected(); }

  private:
    void followPads(std::deque<sf::Event>& out);
    void sendTurn(float percent, std::deque<sf::Event>& out);
    sf::Event buttonKey(sf::Keyboard::Key key, bool pressed) const;

    InputUse current = InputUse::menu;
    PadReader pads;
    PlayKeys playKeys;
    PadDirection horizontal{sf::Keyboard::Left, sf::Keyboard::Right};
    PadDirection vertical{sf::Keyboard::Up, sf::Keyboard::Down};
    std::vector<PadReader::ButtonChange> changes;
    float sentTurn = 0.0f;  // the turn play was last given, in percent
};
