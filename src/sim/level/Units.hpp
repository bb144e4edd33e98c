#pragma once

#include <box2d/b2_math.h>

// One physics unit is 50 pixels; physics y points up, screen y down, so a body
// at physics (x, y) is drawn at pixel (50 x, -50 y).
constexpr float pixelsPerUnit = 50.0f;
constexpr float degreesPerRadian = 57.29578f;
// A tile is 64 x 64 pixels, 1.28 x 1.28 units.
constexpr float cellPixels = 64.0f;

// World pixels (y down) of a physics position.
inline b2Vec2 pixelsOf(const b2Vec2& position) {
    return b2Vec2(position.x * pixelsPerUnit, -position.y * pixelsPerUnit);
}
