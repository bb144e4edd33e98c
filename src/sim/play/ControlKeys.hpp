#pragma once

#include "sim/play/PlayInput.hpp"
#include "sim/play/TurnSpeeds.hpp"

// The turn keys of play as the last inputs left them. Nothing polls the
// keyboard: a key released while play does not listen (the pause menu) keeps
// its flag until it is pressed and released again.
struct ControlKeys {
    bool leftHeld = false;
    bool rightHeld = false;
    bool controlHeld = false;  // the fast flag of the most recent key input
    bool shiftHeld = false;    // the slow flag of the most recent key input
    float padTurn = 0.0f;      // a pad's push in percent; the turn keys win

    // Everything off, as at the start of a level.
    void reset() { *this = ControlKeys(); }
};

// Takes one input into the keys and the jump request. A key input sets the
// modifier flags from its event, whatever its key; Space and Return ask for a
// jump, and only releasing Space cancels one, so a quick tap of Return
// between two contacts still jumps at the next one. Keys of no turn or jump
// (Up, Down, Escape, others) change only the modifiers.
void applyInput(ControlKeys& keys, bool& jumpRequested, const PlayInput& input);

// Degrees per second the world turns with these keys held: Control beats
// Shift, Left turns positive and Right negative, inverted controls swap them.
// With no turn key held a pad's push turns (analogTurnRate).
// The caller decides whether turning is allowed at all.
float turnRate(const ControlKeys& keys, const TurnSpeeds& speeds);
