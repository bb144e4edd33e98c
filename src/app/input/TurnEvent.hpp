#pragma once

#include <SFML/Window/Event.hpp>

#include "sim/play/PlayInput.hpp"

// The analog turn a pad hands to play (PlayInput's turn percent) on its way
// through the window's event queue: a JoystickMoved event on the X axis from
// pad slot sf::Joystick::Count, which no real pad has. The play screen turns
// it into the simulation's input (PlayInputEvents).
namespace TurnEvent {

constexpr unsigned padSlot = sf::Joystick::Count;
constexpr float fullPush = PlayInput::fullPush;

// `percent` is clamped to -100..100; NaN is 0.
sf::Event make(float percent);
// True for the game's turn event, with its percent.
bool read(const sf::Event& event, float& percent);

}  // namespace TurnEvent
