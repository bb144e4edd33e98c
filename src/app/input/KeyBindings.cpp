#include "app/input/KeyBindings.hpp"

#include <algorithm>
#include <sstream>

#include "app/files/Settings.hpp"
#include "app/input/KeyNames.hpp"

namespace {

using Key = sf::Keyboard;

const std::array<ActionInfo, actionCount>& actionTable() {
    static const std::array<ActionInfo, actionCount> table{{
        {Action::turnLeft, "key_turnleft", "Turn Left", {Key::Left}},
        {Action::turnRight, "key_turnright", "Turn Right", {Key::Right}},
        {Action::slow, "key_slow", "Slow Turn", {Key::LShift, Key::RShift}},
        {Action::fast, "key_fast", "Fast Turn", {Key::LControl, Key::RControl}},
        {Action::jump, "key_jump", "Jump", {Key::Space, Key::Enter}},
        {Action::pause, "key_pause", "Pause", {Key::Escape}},
    }};
    return table;
}

bool contains(const KeyBindings::Keys& keys, Key::Key key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// The keys a settings value names, or nothing when any word is no usable key,
// a key repeats, or there are none or too many.
std::optional<KeyBindings::Keys> parseKeys(const std::string& value) {
    std::istringstream words(value);
    KeyBindings::Keys keys;
    std::string word;
    while (words >> word) {
        const Key::Key key = keyOfName(word);
        if (!KeyBindings::usable(key) || contains(keys, key) ||
            keys.size() == KeyBindings::maxKeysPerAction) {
            return std::nullopt;
        }
        keys.push_back(key);
    }
    if (keys.empty()) {
        return std::nullopt;
    }
    return keys;
}

bool shareAKey(const KeyBindings::Keys& a, const KeyBindings::Keys& b) {
    return std::any_of(a.begin(), a.end(), [&b](Key::Key key) { return contains(b, key); });
}

}  // namespace

const ActionInfo& actionInfo(Action action) {
    return actionTable()[static_cast<std::size_t>(action)];
}

KeyBindings::KeyBindings() {
    for (const ActionInfo& info : actionTable()) {
        bound[index(info.action)] = info.defaults;
    }
}

KeyBindings KeyBindings::read(const Settings& store) {
    KeyBindings result;
    for (const ActionInfo& info : actionTable()) {
        const auto found = store.all().find(info.settingsKey);
        if (found == store.all().end()) {
            continue;
        }
        if (auto keys = parseKeys(found->second)) {
            result.bound[index(info.action)] = std::move(*keys);
        }
    }
    // Actions sharing a key all go back to their defaults, decided on the
    // file's keys, so the order of the actions does not matter. The defaults
    // never clash among themselves: each round sets at least one more action
    // to its defaults, and the loop ends.
    for (;;) {
        std::array<bool, actionCount> clashing{};
        for (std::size_t a = 0; a < actionCount; ++a) {
            for (std::size_t b = a + 1; b < actionCount; ++b) {
                if (shareAKey(result.bound[a], result.bound[b])) {
                    clashing[a] = true;
                    clashing[b] = true;
                }
            }
        }
        if (std::find(clashing.begin(), clashing.end(), true) == clashing.end()) {
            break;
        }
        for (std::size_t i = 0; i < actionCount; ++i) {
            if (clashing[i]) {
                result.bound[i] = actionTable()[i].defaults;
            }
        }
    }
    return result;
}

void KeyBindings::write(Settings& store) const {
    for (const ActionInfo& info : actionTable()) {
        std::string value;
        for (Key::Key key : keys(info.action)) {
            value += (value.empty() ? "" : " ") + keyName(key);
        }
        store.setString(info.settingsKey, value);
    }
}

std::optional<Action> KeyBindings::actionOf(sf::Keyboard::Key key) const {
    for (const ActionInfo& info : actionTable()) {
        if (contains(keys(info.action), key)) {
            return info.action;
        }
    }
    return std::nullopt;
}

KeyBindings::BindResult KeyBindings::bind(Action action, sf::Keyboard::Key key, Action& holder) {
    if (!usable(key)) {
        return BindResult::unusable;
    }
    const std::optional<Action> owner = actionOf(key);
    if (owner && *owner != action) {
        holder = *owner;
        return BindResult::taken;
    }
    bound[index(action)] = {key};
    return BindResult::bound;
}

std::string KeyBindings::text(Action action) const {
    std::string line;
    for (Key::Key key : keys(action)) {
        line += (line.empty() ? "" : " / ") + keyName(key);
    }
    return line;
}

bool KeyBindings::usable(sf::Keyboard::Key key) {
    return key != Key::F11 && !keyName(key).empty();
}

sf::Keyboard::Key KeyBindings::simulationKey(Action action, sf::Keyboard::Key pressed) {
    const Keys& defaults = actionInfo(action).defaults;
    return contains(defaults, pressed) ? pressed : defaults.front();
}
