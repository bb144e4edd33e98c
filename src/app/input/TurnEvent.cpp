#include "app/input/TurnEvent.hpp"

namespace TurnEvent {

sf::Event make(float percent) {
    sf::Event event;
    event.type = sf::Event::JoystickMoved;
    event.joystickMove.joystickId = padSlot;
    event.joystickMove.axis = sf::Joystick::X;
    event.joystickMove.position = clampTurnPercent(percent);
    return event;
}

bool read(const sf::Event& event, float& percent) {
    if (event.type != sf::Event::JoystickMoved || event.joystickMove.joystickId != padSlot ||
        event.joystickMove.axis != sf::Joystick::X) {
        return false;
    }
    percent = clampTurnPercent(event.joystickMove.position);
    return true;
}

}  // namespace TurnEvent
