#include "sim/run/RunTimes.hpp"

#include <algorithm>

RunTimes::RunTimes(std::span<const float> frameTimes) : times(frameTimes) {
    double sum = 0.0;
    for (std::size_t frame = 0; frame < times.size(); ++frame) {
        if (frame % blockFrames == 0) {
            blockStarts.push_back(sum);
        }
        sum += times[frame];
    }
    blockStarts.push_back(sum);
}

double RunTimes::secondsAt(std::size_t frame) const {
    frame = std::min(frame, times.size());
    const std::size_t block = frame / blockFrames;
    if (block + 1 == blockStarts.size()) {
        // Only at the end of a run whose length is a whole number of blocks,
        // or of an empty one: the last entry is the whole run's.
        return blockStarts.back();
    }
    double seconds = blockStarts[block];
    for (std::size_t at = block * blockFrames; at < frame; ++at) {
        seconds += times[at];
    }
    return seconds;
}

std::size_t RunTimes::frameAt(double seconds) const {
    // From the last block starting before the time, frame by frame: an
    // empty frame may start at the time just before a block does.
    const auto atOrAfter = std::lower_bound(blockStarts.begin(), blockStarts.end() - 1, seconds);
    std::size_t frame =
        static_cast<std::size_t>(std::max<std::ptrdiff_t>(atOrAfter - blockStarts.begin() - 1, 0)) *
        blockFrames;
    double at = blockStarts[frame / blockFrames];
    while (frame < times.size() && at < seconds) {
        at += times[frame];
        ++frame;
    }
    return frame;
}
