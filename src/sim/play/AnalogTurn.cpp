#include "sim/play/AnalogTurn.hpp"

#include <algorithm>
#include <cmath>

#include "sim/play/PlayInput.hpp"

namespace {

constexpr float halfPush = PlayInput::fullPush * 0.5f;

}  // namespace

float analogTurnRate(float percent, const TurnSpeeds& speeds) {
    const float push = std::abs(clampTurnPercent(percent));
    if (push == 0.0f) {
        return 0.0f;
    }
    const float rate =
        push <= halfPush
            ? speeds.shift + (speeds.turn - speeds.shift) * (push / halfPush)
            : speeds.turn + (speeds.control - speeds.turn) * ((push - halfPush) / halfPush);
    const float capped = std::min(rate, speeds.control);
    return percent > 0.0f ? -capped : capped;
}
