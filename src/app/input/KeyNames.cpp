#include "app/input/KeyNames.hpp"

#include <array>

namespace {

using Key = sf::Keyboard;

struct NamedKey {
    Key::Key key;
    std::string_view name;
};

// Keys whose names are not a letter, a digit or a function key number.
constexpr std::array<NamedKey, 40> namedKeys{{
    {Key::Escape, "Escape"},
    {Key::LControl, "LControl"},
    {Key::LShift, "LShift"},
    {Key::LAlt, "LAlt"},
    {Key::LSystem, "LSystem"},
    {Key::RControl, "RControl"},
    {Key::RShift, "RShift"},
    {Key::RAlt, "RAlt"},
    {Key::RSystem, "RSystem"},
    {Key::Menu, "Menu"},
    {Key::LBracket, "LBracket"},
    {Key::RBracket, "RBracket"},
    {Key::Semicolon, "Semicolon"},
    {Key::Comma, "Comma"},
    {Key::Period, "Period"},
    {Key::Quote, "Quote"},
    {Key::Slash, "Slash"},
    {Key::Backslash, "Backslash"},
    {Key::Tilde, "Tilde"},
    {Key::Equal, "Equal"},
    {Key::Hyphen, "Hyphen"},
    {Key::Space, "Space"},
    {Key::Enter, "Return"},
    {Key::Backspace, "Backspace"},
    {Key::Tab, "Tab"},
    {Key::PageUp, "PageUp"},
    {Key::PageDown, "PageDown"},
    {Key::End, "End"},
    {Key::Home, "Home"},
    {Key::Insert, "Insert"},
    {Key::Delete, "Delete"},
    {Key::Add, "Add"},
    {Key::Subtract, "Subtract"},
    {Key::Multiply, "Multiply"},
    {Key::Divide, "Divide"},
    {Key::Left, "Left"},
    {Key::Right, "Right"},
    {Key::Up, "Up"},
    {Key::Down, "Down"},
    {Key::Pause, "Pause"},
}};

// Runs of keys named by a prefix and their place in the run.
struct NumberedRun {
    Key::Key first;
    Key::Key last;
    std::string_view prefix;
    int firstNumber;
};

constexpr std::array<NumberedRun, 3> numberedRuns{{
    {Key::Num0, Key::Num9, "Num", 0},
    {Key::Numpad0, Key::Numpad9, "Numpad", 0},
    {Key::F1, Key::F15, "F", 1},
}};

bool inRange(Key::Key key, Key::Key first, Key::Key last) {
    return key >= first && key <= last;
}

}  // namespace

std::string keyName(sf::Keyboard::Key key) {
    if (inRange(key, Key::A, Key::Z)) {
        return std::string(1, static_cast<char>('A' + (key - Key::A)));
    }
    for (const NumberedRun& run : numberedRuns) {
        if (inRange(key, run.first, run.last)) {
            return std::string(run.prefix) + std::to_string(run.firstNumber + (key - run.first));
        }
    }
    for (const NamedKey& entry : namedKeys) {
        if (entry.key == key) {
            return std::string(entry.name);
        }
    }
    return {};
}

sf::Keyboard::Key keyOfName(std::string_view name) {
    // Every key has one name, so trying them all is exact and the table stays
    // the only place that spells them.
    for (int code = 0; code < Key::KeyCount; ++code) {
        const auto key = static_cast<Key::Key>(code);
        if (!name.empty() && keyName(key) == name) {
            return key;
        }
    }
    return Key::Unknown;
}
