#include "sim/play/TurnSpeeds.hpp"

#include <algorithm>
#include <cmath>

namespace {

bool inRange(float speed) {
    return speed >= TurnSpeeds::slowest && speed <= TurnSpeeds::fastest;
}

float clampSpeed(float speed, float fallback) {
    return std::isnan(speed) ? fallback
                             : std::clamp(speed, TurnSpeeds::slowest, TurnSpeeds::fastest);
}

}  // namespace

bool TurnSpeeds::withinRange() const {
    return inRange(turn) && inRange(shift) && inRange(control);
}

TurnSpeeds TurnSpeeds::clamped() const {
    const TurnSpeeds defaults;
    TurnSpeeds result = *this;
    result.turn = clampSpeed(turn, defaults.turn);
    result.shift = clampSpeed(shift, defaults.shift);
    result.control = clampSpeed(control, defaults.control);
    return result;
}
