#include "sim/play/PlayInput.hpp"

#include <algorithm>
#include <cmath>

float clampTurnPercent(float percent) {
    if (std::isnan(percent)) {
        return 0.0f;
    }
    return std::clamp(percent, -PlayInput::fullPush, PlayInput::fullPush);
}

PlayInput PlayInput::pressed(PlayKey key, bool shift, bool control) {
    return PlayInput{Kind::press, key, shift, control, 0.0f};
}

PlayInput PlayInput::released(PlayKey key, bool shift, bool control) {
    return PlayInput{Kind::release, key, shift, control, 0.0f};
}

PlayInput PlayInput::padTurn(float percent) {
    return PlayInput{Kind::turn, PlayKey::other, false, false, clampTurnPercent(percent)};
}
