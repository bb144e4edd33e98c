#pragma once

#include "sim/play/TurnSpeeds.hpp"

// Degrees per second the world turns for a pad's push (PlayInput percent,
// right positive): the slow speed just past the dead zone, the normal speed
// at half a push, the fast speed at a full push, straight lines between, and
// never faster than the fast speed. Right turns negative, as the Right key.
float analogTurnRate(float percent, const TurnSpeeds& speeds);
