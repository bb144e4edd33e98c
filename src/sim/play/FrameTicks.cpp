#include "sim/play/FrameTicks.hpp"

#include <cmath>

namespace FrameTicks {

bool of(float secondsGiven, int& ticks) {
    if (!(secondsGiven >= 0.0f && secondsGiven <= seconds(longestFrame))) {
        return false;
    }
    const float scaled = secondsGiven * static_cast<float>(perSecond);  // exact: a power of two
    if (scaled != std::floor(scaled)) {
        return false;
    }
    ticks = static_cast<int>(scaled);
    return true;
}

float Carry::frame(double secondsGiven) {
    if (!(secondsGiven > 0.0)) {
        return 0.0f;
    }
    const double parts = secondsGiven * perSecond * static_cast<double>(partsPerTick);
    owed += parts >= 1e15 ? 1'000'000'000'000'000LL : std::llround(parts);
    long long ticks = owed / partsPerTick;
    owed %= partsPerTick;
    if (ticks > longestFrame) {
        ticks = longestFrame;
        owed = 0;
    }
    return seconds(static_cast<int>(ticks));
}

}  // namespace FrameTicks
