#include "autopilot/PilotKeys.hpp"

sf::Event PilotKeys::event(sf::Keyboard::Key key, bool pressed) const {
    sf::Event made;
    made.type = pressed ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    made.key.code = key;
    made.key.alt = false;
    made.key.control = control;
    made.key.shift = shift;
    made.key.system = false;
    return made;
}

std::vector<sf::Event> PilotKeys::change(const PilotCommand& command) {
    std::vector<sf::Event> events;
    // Modifiers only matter while a turn key is down; leave them be otherwise.
    if (command.turn != 0) {
        const bool wantShift = command.speed == PilotCommand::Speed::slow;
        const bool wantControl = command.speed == PilotCommand::Speed::fast;
        if (shift != wantShift) {
            shift = wantShift;
            events.push_back(event(sf::Keyboard::LShift, shift));
        }
        if (control != wantControl) {
            control = wantControl;
            events.push_back(event(sf::Keyboard::LControl, control));
        }
    }
    const bool wantLeft = command.turn > 0;
    const bool wantRight = command.turn < 0;
    if (left && !wantLeft) {
        left = false;
        events.push_back(event(sf::Keyboard::Left, false));
    }
    if (right && !wantRight) {
        right = false;
        events.push_back(event(sf::Keyboard::Right, false));
    }
    if (wantLeft && !left) {
        left = true;
        events.push_back(event(sf::Keyboard::Left, true));
    }
    if (wantRight && !right) {
        right = true;
        events.push_back(event(sf::Keyboard::Right, true));
    }
    if (command.jump != space) {
        space = command.jump;
        events.push_back(event(sf::Keyboard::Space, space));
    }
    return events;
}

float PilotKeys::rate(const PilotCommand& command, const TurnSpeeds& speeds) {
    if (command.turn == 0) {
        return 0.0f;
    }
    float rate = speeds.turn;
    if (command.speed == PilotCommand::Speed::slow) {
        rate = speeds.shift;
    } else if (command.speed == PilotCommand::Speed::fast) {
        rate = speeds.control;
    }
    rate = command.turn > 0 ? rate : -rate;
    return speeds.inverted ? -rate : rate;
}
