#pragma once

#include <SFML/Window/Keyboard.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

class Settings;

// What a player does in play, whatever keys they chose for it.
enum class Action { turnLeft, turnRight, slow, fast, jump, pause };
inline constexpr std::size_t actionCount = 6;

// One action's fixed facts: its settings key, the words the controls screen
// shows, and its default keys. The first default key is the one the
// simulation knows the action by.
struct ActionInfo {
    Action action;
    const char* settingsKey;
    const char* label;
    std::vector<sf::Keyboard::Key> defaults;
};
const ActionInfo& actionInfo(Action action);

// The keys of each action. Play translates them to the action's own keys
// before the simulation sees them, so the simulation and recorded runs never
// learn which keys a player chose. No key belongs to two actions.
//
// In the settings file each action has a line "key_<action>" whose value is
// its key names split by spaces ("key_jump	Space Return"). A missing line, a
// name that is no key, a key that cannot be bound or a key claimed by two
// actions gives those actions their defaults.
class KeyBindings {
  public:
    using Keys = std::vector<sf::Keyboard::Key>;
    enum class BindResult { bound, taken, unusable };
    // An action holds at most this many keys (the defaults' Shift pairs).
    static constexpr std::size_t maxKeysPerAction = 2;

    KeyBindings();
    static KeyBindings read(const Settings& store);
    void write(Settings& store) const;

    const Keys& keys(Action action) const { return bound[index(action)]; }
    std::optional<Action> actionOf(sf::Keyboard::Key key) const;
    // `key` alone for `action`. Refused while another action holds it (then
    // `holder` names that action) and for keys that cannot be bound.
    BindResult bind(Action action, sf::Keyboard::Key key, Action& holder);
    void reset() { *this = KeyBindings(); }
    // The keys as one line of the controls screen: "LShift / RShift".
    std::string text(Action action) const;

    // F11 belongs to the fullscreen switch; Unknown is no key.
    static bool usable(sf::Keyboard::Key key);
    // The key the simulation is given for a press of `pressed`, a key of
    // `action`: a default key stays itself (Return keeps its own release
    // rule), any other becomes the action's first default.
    static sf::Keyboard::Key simulationKey(Action action, sf::Keyboard::Key pressed);

    bool operator==(const KeyBindings&) const = default;

  private:
    static std::size_t index(Action action) { return static_cast<std::size_t>(action); }

    std::array<Keys, actionCount> bound;
};
