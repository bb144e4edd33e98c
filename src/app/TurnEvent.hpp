#pragma once

#include <SFML/Window/Event.hpp>

// The analog turn a pad hands to play: how far the stick is pushed, in
// percent of a full push (-100 full left, 100 full right, 0 centred), already
// past the dead zone, so any value but 0 turns. 50 is the normal turn speed;
// the d-pad sends exactly that.
//
// It travels as an sf::Event of its own kind, a JoystickMoved event on the X
// axis from pad slot sf::Joystick::Count, which no real pad has: key events
// and this event are all the simulation is given, and recorded runs keep it.
namespace TurnEvent {

constexpr unsigned padSlot = sf::Joystick::Count;
constexpr float fullPush = 100.0f;

// `percent` is clamped to -100..100; NaN is 0.
sf::Event make(float percent);
// True for the game's turn event, with its percent.
bool read(const sf::Event& event, float& percent);
// NaN to 0, then -100..100.
float clampPercent(float percent);

}  // namespace TurnEvent
