#include "app/input/PadReader.hpp"

#include <cmath>

#include "app/input/PadLayout.hpp"
#include "app/input/TurnEvent.hpp"

namespace {

// Beyond the dead zone the stick's travel is spread over the whole range, so
// the slowest turn starts right at its edge.
float stickTurn(float position) {
    const float magnitude = std::abs(position);
    if (magnitude <= PadLayout::deadZone) {
        return 0.0f;
    }
    const float scaled =
        (magnitude - PadLayout::deadZone) / (TurnEvent::fullPush - PadLayout::deadZone);
    return std::copysign(scaled * TurnEvent::fullPush, position);
}

float hatTurn(float position) {
    if (std::abs(position) < PadLayout::stepPush) {
        return 0.0f;
    }
    return std::copysign(PadLayout::hatTurn, position);
}

// The stronger of two pushes; the first on a tie.
float firmer(float a, float b) {
    return std::abs(b) > std::abs(a) ? b : a;
}

}  // namespace

PadReader::Pad* PadReader::pad(unsigned slot) {
    return slot < pads.size() ? &pads[slot] : nullptr;
}

bool PadReader::apply(const sf::Event& event, std::vector<ButtonChange>& changes) {
    switch (event.type) {
        case sf::Event::JoystickConnected:
            if (Pad* p = pad(event.joystickConnect.joystickId)) {
                disconnect(*p, changes);
                p->connected = true;
            }
            return true;
        case sf::Event::JoystickDisconnected:
            if (Pad* p = pad(event.joystickConnect.joystickId)) {
                disconnect(*p, changes);
            }
            return true;
        case sf::Event::JoystickMoved: {
            Pad* p = pad(event.joystickMove.joystickId);
            const auto axis = static_cast<std::size_t>(event.joystickMove.axis);
            if (p != nullptr && axis < p->axes.size()) {
                p->connected = true;
                p->axes[axis] = clampTurnPercent(event.joystickMove.position);
            }
            return true;
        }
        case sf::Event::JoystickButtonPressed:
        case sf::Event::JoystickButtonReleased: {
            Pad* p = pad(event.joystickButton.joystickId);
            const unsigned button = event.joystickButton.button;
            const bool pressed = event.type == sf::Event::JoystickButtonPressed;
            if (p == nullptr || button >= p->buttons.size() || p->buttons[button] == pressed) {
                return true;
            }
            p->connected = true;
            p->buttons[button] = pressed;
            changes.push_back({button, pressed});
            return true;
        }
        default:
            return false;
    }
}

void PadReader::disconnect(Pad& gone, std::vector<ButtonChange>& changes) {
    for (unsigned button = 0; button < gone.buttons.size(); ++button) {
        if (gone.buttons[button]) {
            changes.push_back({button, false});
        }
    }
    gone = Pad();
}

float PadReader::turnPercent() const {
    float turn = 0.0f;
    for (const Pad& p : pads) {
        const float stick = stickTurn(p.axes[PadLayout::stickX]);
        turn = firmer(turn, stick != 0.0f ? stick : hatTurn(p.axes[PadLayout::hatX]));
    }
    return turn;
}

float PadReader::strongest(sf::Joystick::Axis stick, sf::Joystick::Axis hat) const {
    float push = 0.0f;
    for (const Pad& p : pads) {
        push = firmer(firmer(push, p.axes[stick]), p.axes[hat]);
    }
    return push;
}

float PadReader::horizontalPush() const {
    return strongest(PadLayout::stickX, PadLayout::hatX);
}

float PadReader::verticalPush() const {
    return strongest(PadLayout::stickY, PadLayout::hatY);
}

bool PadReader::anyConnected() const {
    for (const Pad& p : pads) {
        if (p.connected) {
            return true;
        }
    }
    return false;
}
