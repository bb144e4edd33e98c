#include "sim/play/ControlKeys.hpp"

#include "sim/play/AnalogTurn.hpp"

namespace {

void press(ControlKeys& keys, bool& jumpRequested, PlayKey key) {
    switch (key) {
        case PlayKey::space:
        case PlayKey::enter:
            jumpRequested = true;
            break;
        case PlayKey::left:
            keys.leftHeld = true;
            keys.rightHeld = false;
            break;
        case PlayKey::right:
            keys.rightHeld = true;
            keys.leftHeld = false;
            break;
        default:
            break;
    }
}

void release(ControlKeys& keys, bool& jumpRequested, PlayKey key) {
    switch (key) {
        case PlayKey::space:
            jumpRequested = false;
            break;
        case PlayKey::left:
            keys.leftHeld = false;
            break;
        case PlayKey::right:
            keys.rightHeld = false;
            break;
        default:
            break;
    }
}

}  // namespace

void applyInput(ControlKeys& keys, bool& jumpRequested, const PlayInput& input) {
    if (input.kind == PlayInput::Kind::turn) {
        keys.padTurn = clampTurnPercent(input.turn);
        return;
    }
    keys.shiftHeld = input.shift;
    keys.controlHeld = input.control;
    if (input.kind == PlayInput::Kind::press) {
        press(keys, jumpRequested, input.key);
    } else {
        release(keys, jumpRequested, input.key);
    }
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
