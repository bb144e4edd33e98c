#include "sim/run/RecordedRun.hpp"

#include <algorithm>
#include <cmath>

void RecordedRun::addFrame(float frameTime, std::span<const PlayInput> given) {
    const auto frame = static_cast<std::uint32_t>(frameTimes.size());
    for (const PlayInput& input : given) {
        inputs.push_back(RecordedInput{frame, input});
    }
    frameTimes.push_back(frameTime);
}

std::span<const RecordedInput> RecordedRun::inputsOfFrame(std::size_t frame) const {
    const auto byFrame = [](const RecordedInput& input, std::size_t wanted) {
        return input.frame < wanted;
    };
    const auto first = std::lower_bound(inputs.begin(), inputs.end(), frame, byFrame);
    auto last = first;
    while (last != inputs.end() && last->frame == frame) {
        ++last;
    }
    return {first, last};
}

long long raceMilliseconds(float seconds) {
    return std::llround(static_cast<double>(seconds) * 1000.0);
}
