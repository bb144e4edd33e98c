#pragma once

#include <SFML/Window/Event.hpp>

#include "game/ControlKeys.hpp"

// Degrees per second the world turns for a pad's push (TurnEvent percent,
// right positive): the slow speed just past the dead zone, the normal speed
// at half a push, the fast speed at a full push, straight lines between, and
// never faster than the fast speed. Right turns negative, as the Right key.
float analogTurnRate(float percent, const TurnSpeeds& speeds);

// Takes the game's turn event into the keys; false for any other event.
bool applyTurnEvent(ControlKeys& keys, const sf::Event& event);
