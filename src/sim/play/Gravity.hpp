#pragma once

#include <box2d/b2_math.h>

// Gravity always points down the screen, however far the player has turned the
// world: the view angle (degrees, any size, either sign) gives the direction.
// The strength, 86.49 units per second squared (9.3 squared), is what every
// level was tuned for; the world is created with a tenth of it and the first
// play frame sets the real value.
constexpr float playGravity = 86.49f;

b2Vec2 gravityForViewAngle(float degrees);
