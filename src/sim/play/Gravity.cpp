#include "sim/play/Gravity.hpp"

#include <cmath>

#include "sim/level/Units.hpp"

b2Vec2 gravityForViewAngle(float degrees) {
    // fmod keeps the sign, so -90 and 270 give the same direction.
    const float radians = std::fmod(degrees, 360.0f) / degreesPerRadian;
    return b2Vec2(-playGravity * std::sin(radians), -playGravity * std::cos(radians));
}
