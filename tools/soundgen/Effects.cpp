#include "Effects.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "Dsp.hpp"
#include "Filters.hpp"

namespace soundgen {

namespace {

// Reads a delay line at a fractional distance behind `writeIndex`.
double readFractional(const std::vector<double>& line, std::size_t writeIndex, double distance) {
    const double position =
        static_cast<double>(writeIndex) + static_cast<double>(line.size()) - distance;
    const double whole = std::floor(position);
    const double fraction = position - whole;
    const std::size_t a = static_cast<std::size_t>(whole) % line.size();
    const std::size_t b = (a + 1) % line.size();
    return line[a] * (1.0 - fraction) + line[b] * fraction;
}

// Smallest value of `values` in the window [i, i + span], for every i; indices
// past the end wrap around when `circular`, otherwise they count as 1.
std::vector<double> forwardMinimum(const std::vector<double>& values, std::size_t span,
                                   bool circular) {
    const std::size_t n = values.size();
    std::vector<double> result(n, 1.0);
    std::deque<std::size_t> window;  // indices into the extended sequence, values rising
    auto valueAt = [&](std::size_t k) {
        return k < n ? values[k] : (circular ? values[k % n] : 1.0);
    };
    for (std::size_t k = 0; k < n + span; ++k) {
        const double v = valueAt(k);
        while (!window.empty() && valueAt(window.back()) >= v) {
            window.pop_back();
        }
        window.push_back(k);
        if (k >= span) {
            const std::size_t i = k - span;
            while (window.front() < i) {
                window.pop_front();
            }
            result[i] = valueAt(window.front());
        }
    }
    return result;
}

}  // namespace

void chorus(StereoBuffer& buffer, const ChorusSettings& settings) {
    const std::size_t lineLength = secondsToFrames(settings.baseDelay + settings.depth) + 4;
    std::vector<double> lineLeft(lineLength, 0.0);
    std::vector<double> lineRight(lineLength, 0.0);
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        const double t = framesToSeconds(i);
        const double swing = std::sin(twoPi * settings.rateHz * t);
        const double delayLeft = (settings.baseDelay + settings.depth * swing) * sampleRate;
        const double delayRight = (settings.baseDelay - settings.depth * swing) * sampleRate;
        const std::size_t w = i % lineLength;
        lineLeft[w] = buffer.left[i];
        lineRight[w] = buffer.right[i];
        const double wetLeft = readFractional(lineLeft, w, delayLeft);
        const double wetRight = readFractional(lineRight, w, delayRight);
        buffer.left[i] =
            static_cast<float>(buffer.left[i] * (1.0 - settings.mix) + wetLeft * settings.mix);
        buffer.right[i] =
            static_cast<float>(buffer.right[i] * (1.0 - settings.mix) + wetRight * settings.mix);
    }
}

void pingPongEcho(StereoBuffer& buffer, const EchoSettings& settings) {
    const std::size_t delay = std::max<std::size_t>(1, secondsToFrames(settings.delay));
    std::vector<double> lineLeft(delay, 0.0);
    std::vector<double> lineRight(delay, 0.0);
    OnePole toneLeft(settings.toneHz);
    OnePole toneRight(settings.toneHz);
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        const std::size_t k = i % delay;
        const double outLeft = lineLeft[k];
        const double outRight = lineRight[k];
        const double input = 0.5 * (buffer.left[i] + buffer.right[i]);
        // The dry signal enters on the left only; the right hears it one delay later.
        lineLeft[k] = toneLeft.lowpass(input + outRight * settings.feedback);
        lineRight[k] = toneRight.lowpass(outLeft * settings.feedback);
        buffer.left[i] = static_cast<float>(buffer.left[i] + outLeft * settings.mix);
        buffer.right[i] = static_cast<float>(buffer.right[i] + outRight * settings.mix);
    }
}

void limit(StereoBuffer& buffer, double ceilingDb, double releaseSeconds, bool circular) {
    const std::size_t n = buffer.frames();
    if (n == 0) {
        return;
    }
    const double ceiling = dbToGain(ceilingDb);
    std::vector<double> wanted(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double level = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        wanted[i] = level > ceiling ? ceiling / level : 1.0;
    }
    // 3 ms look-ahead: the gain is down before the peak arrives.
    const std::size_t lookAhead = secondsToFrames(0.003);
    const std::vector<double> ahead = forwardMinimum(wanted, lookAhead, circular);

    // Release: the gain climbs back towards 1 but never above what is needed.
    // A circular piece runs the recursion twice round so the seam is settled.
    const double recover = 1.0 - std::exp(-1.0 / (releaseSeconds * sampleRate));
    std::vector<double> released(n);
    double gain = 1.0;
    const std::size_t rounds = circular ? 2 : 1;
    for (std::size_t k = 0; k < n * rounds; ++k) {
        const std::size_t i = k % n;
        gain = std::min(ahead[i], gain + (1.0 - gain) * recover);
        released[i] = gain;
    }
    // Trailing average over the look-ahead span turns the steps into ramps. At a
    // peak it never exceeds the gain the peak needs: every value averaged there
    // was limited by that peak through the look-ahead minimum.
    const long span = static_cast<long>(lookAhead) + 1;
    const long count = static_cast<long>(n);
    auto releasedAt = [&](long k) {
        if (circular) {
            return released[static_cast<std::size_t>(((k % count) + count) % count)];
        }
        return released[static_cast<std::size_t>(std::max(k, 0L))];
    };
    std::vector<double> smooth(n);
    double sum = 0.0;
    for (long k = 1 - span; k <= 0; ++k) {
        sum += releasedAt(k);
    }
    smooth[0] = sum / static_cast<double>(span);
    for (long i = 1; i < count; ++i) {
        sum += releasedAt(i) - releasedAt(i - span);
        smooth[static_cast<std::size_t>(i)] = sum / static_cast<double>(span);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double g = std::min(smooth[i], 1.0);
        buffer.left[i] = static_cast<float>(buffer.left[i] * g);
        buffer.right[i] = static_cast<float>(buffer.right[i] * g);
    }
}

void highPass(StereoBuffer& buffer, double cutoffHz) {
    OnePole left(cutoffHz);
    OnePole right(cutoffHz);
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] = static_cast<float>(left.highpass(buffer.left[i]));
        buffer.right[i] = static_cast<float>(right.highpass(buffer.right[i]));
    }
}

}  // namespace soundgen
