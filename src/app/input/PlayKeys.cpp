#include "app/input/PlayKeys.hpp"

namespace {

using Key = sf::Keyboard;

// The key event's own word on a modifier key: the system knows best whether
// Shift is down, even when it was pressed before play began.
bool modifierFlag(Key::Key key, const sf::Event::KeyEvent& event, bool& flag) {
    switch (key) {
        case Key::LShift:
        case Key::RShift:
            flag = event.shift;
            return true;
        case Key::LControl:
        case Key::RControl:
            flag = event.control;
            return true;
        case Key::LAlt:
        case Key::RAlt:
            flag = event.alt;
            return true;
        case Key::LSystem:
        case Key::RSystem:
            flag = event.system;
            return true;
        default:
            return false;
    }
}

bool isDefaultKeyOfAnAction(Key::Key key) {
    for (std::size_t i = 0; i < actionCount; ++i) {
        const auto& defaults = actionInfo(static_cast<Action>(i)).defaults;
        for (Key::Key candidate : defaults) {
            if (candidate == key) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void PlayKeys::setBindings(const KeyBindings& chosen) {
    bindings = chosen;
    held.clear();
    slow = false;
    fast = false;
}

bool PlayKeys::actionHeld(Action action, const sf::Event::KeyEvent& key) const {
    for (Key::Key bound : bindings.keys(action)) {
        bool flag = false;
        if (modifierFlag(bound, key, flag) ? flag : held.count(bound) != 0) {
            return true;
        }
    }
    return false;
}

bool PlayKeys::translate(sf::Event& event) {
    if (event.type != sf::Event::KeyPressed && event.type != sf::Event::KeyReleased) {
        return true;
    }
    sf::Event::KeyEvent& key = event.key;
    const std::optional<Action> action = bindings.actionOf(key.code);
    if (action == Action::slow || action == Action::fast) {
        if (event.type == sf::Event::KeyPressed) {
            held.insert(key.code);
        } else {
            held.erase(key.code);
        }
    }
    slow = actionHeld(Action::slow, key);
    fast = actionHeld(Action::fast, key);
    if (!action && isDefaultKeyOfAnAction(key.code)) {
        return false;
    }
    if (action) {
        key.code = KeyBindings::simulationKey(*action, key.code);
    }
    key.shift = slow;
    key.control = fast;
    return true;
}
