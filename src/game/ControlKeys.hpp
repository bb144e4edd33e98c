#pragma once

#include <SFML/Window/Event.hpp>

#include "app/SettingKeys.hpp"

// The keys of the play state as the last key events left them. Nothing polls
// the keyboard: a key released while the play state does not listen (the pause
// menu) keeps its flag until it is pressed and released again.
struct ControlKeys {
    bool leftHeld = false;
    bool rightHeld = false;
    bool downPressed = false;  // consumed by the highscore table after a finish
    bool upPressed = false;
    bool controlHeld = false;  // modifier state of the most recent key event
    bool shiftHeld = false;
    bool pauseRequested = false;  // Escape; the screen switches at the end of the frame
    float padTurn = 0.0f;         // a pad's push (TurnEvent percent); the turn keys win

    // Everything off, as at the start of a level (the pause request included).
    void reset() { *this = ControlKeys(); }
};

// Turn rates in degrees per second, as the settings give them.
struct TurnSpeeds {
    float turn = Setting::turnSpeed.fallback;
    float shift = Setting::shiftSpeed.fallback;
    float control = Setting::controlSpeed.fallback;
    bool inverted = Setting::invertControls.fallback != 0;
};

// The play state's key handlers. Both take the modifiers from the event,
// whatever its key; Space and Return ask for a jump, Escape for the pause.
void onKeyPressed(ControlKeys& keys, bool& jumpRequested, const sf::Event::KeyEvent& key);
void onKeyReleased(ControlKeys& keys, bool& jumpRequested, const sf::Event::KeyEvent& key);
// Passes a key press or release, or a pad's turn, to its handler; false for
// other events.
bool applyKeyEvent(ControlKeys& keys, bool& jumpRequested, const sf::Event& event);

// Degrees per second the world turns with these keys held: Control beats
// Shift, Left turns positive and Right negative, inverted controls swap them.
// With no turn key held a pad's push turns (analogTurnRate).
// The caller decides whether turning is allowed at all.
float turnRate(const ControlKeys& keys, const TurnSpeeds& speeds);
