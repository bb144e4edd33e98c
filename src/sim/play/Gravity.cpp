#include "sim/play/Gravity.hpp"

#include <cmath>

#include "sim/level/Units.hpp"
#include "sim/physics/DeterministicTrig.hpp"

b2Vec2 gravityForViewAngle(float degrees) {
    // fmod keeps the sign, so -90 and 270 give the same direction; it is
    // exact, and the sine and cosine give the same bits on every CPU.
    const float radians = std::fmod(degrees, 360.0f) / degreesPerRadian;
    float sine = 0.0f;
    float cosine = 0.0f;
    b2SinCos(radians, &sine, &cosine);
    return b2Vec2(-playGravity * sine, -playGravity * cosine);
}
