#pragma once

#include <SFML/Window/Event.hpp>

#include <set>

#include "app/input/KeyBindings.hpp"

// The keyboard in play: a key bound to an action reaches the simulation as
// that action's own key, with the Shift and Control flags telling whether a
// slow or fast key is held. A default key that another key has replaced says
// nothing; keys of no action pass unchanged.
class PlayKeys {
  public:
    void setBindings(const KeyBindings& chosen);
    // Rewrites a key press or release for the simulation; false when it is to
    // be dropped. Other events are left alone (true).
    bool translate(sf::Event& event);

    // The modifier flags of the last key event, for the keys a pad makes.
    bool slowHeld() const { return slow; }
    bool fastHeld() const { return fast; }

  private:
    bool actionHeld(Action action, const sf::Event::KeyEvent& key) const;

    KeyBindings bindings;
    // Keys of the slow and fast actions pressed and not yet released.
    std::set<sf::Keyboard::Key> held;
    bool slow = false;
    bool fast = false;
};
