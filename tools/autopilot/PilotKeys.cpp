#include "autopilot/PilotKeys.hpp"

PlayInput PilotKeys::event(PlayKey key, bool pressed) const {
    return pressed ? PlayInput::pressed(key, shift, control)
                   : PlayInput::released(key, shift, control);
}

std::vector<PlayInput> PilotKeys::change(const PilotCommand& command) {
    std::vector<PlayInput> events;
    // Modifiers only matter while a turn key is down; leave them be otherwise.
    if (command.turn != 0) {
        const bool wantShift = command.speed == PilotCommand::Speed::slow;
        const bool wantControl = command.speed == PilotCommand::Speed::fast;
        if (shift != wantShift) {
            shift = wantShift;
            events.push_back(event(PlayKey::leftShift, shift));
        }
        if (control != wantControl) {
            control = wantControl;
            events.push_back(event(PlayKey::leftControl, control));
        }
    }
    const bool wantLeft = command.turn > 0;
    const bool wantRight = command.turn < 0;
    if (left && !wantLeft) {
        left = false;
        events.push_back(event(PlayKey::left, false));
    }
    if (right && !wantRight) {
        right = false;
        events.push_back(event(PlayKey::right, false));
    }
    if (wantLeft && !left) {
        left = true;
        events.push_back(event(PlayKey::left, true));
    }
    if (wantRight && !right) {
        right = true;
        events.push_back(event(PlayKey::right, true));
    }
    if (command.jump != space) {
        space = command.jump;
        events.push_back(event(PlayKey::space, space));
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
