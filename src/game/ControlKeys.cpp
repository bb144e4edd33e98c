#include "game/ControlKeys.hpp"

#include "game/AnalogTurn.hpp"

void onKeyPressed(ControlKeys& keys, bool& jumpRequested, const sf::Event::KeyEvent& key) {
    keys.shiftHeld = key.shift;
    keys.controlHeld = key.control;
    switch (key.code) {
        case sf::Keyboard::Escape:
            keys.pauseRequested = true;
            break;
        case sf::Keyboard::Space:
        case sf::Keyboard::Return:
            jumpRequested = true;
            break;
        case sf::Keyboard::Left:
            keys.leftHeld = true;
            keys.rightHeld = false;
            break;
        case sf::Keyboard::Right:
            keys.rightHeld = true;
            keys.leftHeld = false;
            break;
        case sf::Keyboard::Up:
            keys.upPressed = true;
            keys.downPressed = false;
            break;
        case sf::Keyboard::Down:
            keys.downPressed = true;
            keys.upPressed = false;
            break;
        default:
            break;
    }
}

// Releasing Return keeps a pending jump: only Space cancels one, so a quick
// tap of Return between two contacts still jumps at the next one.
void onKeyReleased(ControlKeys& keys, bool& jumpRequested, const sf::Event::KeyEvent& key) {
    keys.shiftHeld = key.shift;
    keys.controlHeld = key.control;
    switch (key.code) {
        case sf::Keyboard::Space:
            jumpRequested = false;
            break;
        case sf::Keyboard::Left:
            keys.leftHeld = false;
            break;
        case sf::Keyboard::Right:
            keys.rightHeld = false;
            break;
        case sf::Keyboard::Up:
            keys.upPressed = false;
            break;
        case sf::Keyboard::Down:
            keys.downPressed = false;
            break;
        default:
            break;
    }
}

bool applyKeyEvent(ControlKeys& keys, bool& jumpRequested, const sf::Event& event) {
    if (event.type == sf::Event::KeyPressed) {
        onKeyPressed(keys, jumpRequested, event.key);
        return true;
    }
    if (event.type == sf::Event::KeyReleased) {
        onKeyReleased(keys, jumpRequested, event.key);
        return true;
    }
    return applyTurnEvent(keys, event);
}

float turnRate(const ControlKeys& keys, const TurnSpeeds& speeds) {
    float rate = 0.0f;
    if (keys.leftHeld || keys.rightHeld) {
        rate = keys.controlHeld ? speeds.control : keys.shiftHeld ? speeds.shift : speeds.turn;
        if (!keys.leftHeld) {
            rate = -rate;
        }
    } else {
        rate = analogTurnRate(keys.padTurn, speeds);
    }
    return speeds.inverted ? -rate : rate;
}
