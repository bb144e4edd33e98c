#include "app/TurnEvent.hpp"

#include <algorithm>
#include <cmath>

namespace TurnEvent {

float clampPercent(float percent) {
    if (std::isnan(percent)) {
        return 0.0f;
    }
    return std::clamp(percent, -fullPush, fullPush);
}

sf::Event make(float percent) {
    sf::Event event;
    event.type = sf::Event::JoystickMoved;
    event.joystickMove.joystickId = padSlot;
    event.joystickMove.axis = sf::Joystick::X;
    event.joystickMove.position = clampPercent(percent);
    return event;
}

bool read(const sf::Event& event, float& percent) {
    if (event.type != sf::Event::JoystickMoved || event.joystickMove.joystickId != padSlot ||
        event.joystickMove.axis != sf::Joystick::X) {
        return false;
    }
    percent = clampPercent(event.joystickMove.position);
    return true;
}

}  // namespace TurnEvent
