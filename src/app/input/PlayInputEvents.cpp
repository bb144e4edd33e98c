#include "app/input/PlayInputEvents.hpp"

#include <array>

#include "app/input/TurnEvent.hpp"
#include "app/platform/GameWindow.hpp"

namespace {

using Key = sf::Keyboard;

struct KeyPair {
    Key::Key key;
    PlayKey played;
};

constexpr std::array<KeyPair, 11> keyPairs{{
    {Key::Left, PlayKey::left},
    {Key::Right, PlayKey::right},
    {Key::Up, PlayKey::up},
    {Key::Down, PlayKey::down},
    {Key::Space, PlayKey::space},
    {Key::Return, PlayKey::enter},
    {Key::Escape, PlayKey::escape},
    {Key::LShift, PlayKey::leftShift},
    {Key::RShift, PlayKey::rightShift},
    {Key::LControl, PlayKey::leftControl},
    {Key::RControl, PlayKey::rightControl},
}};

PlayKey playKeyOf(Key::Key key) {
    for (const KeyPair& pair : keyPairs) {
        if (pair.key == key) {
            return pair.played;
        }
    }
    return PlayKey::other;
}

Key::Key keyOf(PlayKey played) {
    for (const KeyPair& pair : keyPairs) {
        if (pair.played == played) {
            return pair.key;
        }
    }
    return Key::Unknown;
}

}  // namespace

std::optional<PlayInput> playInputOf(const sf::Event& event) {
    float percent = 0.0f;
    if (TurnEvent::read(event, percent)) {
        return PlayInput::padTurn(percent);
    }
    if (event.type != sf::Event::KeyPressed && event.type != sf::Event::KeyReleased) {
        return std::nullopt;
    }
    const PlayKey key = playKeyOf(event.key.code);
    return event.type == sf::Event::KeyPressed
               ? PlayInput::pressed(key, event.key.shift, event.key.control)
               : PlayInput::released(key, event.key.shift, event.key.control);
}

sf::Event eventOf(const PlayInput& input) {
    if (input.kind == PlayInput::Kind::turn) {
        return TurnEvent::make(input.turn);
    }
    return GameWindow::keyEvent(keyOf(input.key), input.kind == PlayInput::Kind::press, input.shift,
                                input.control);
}
