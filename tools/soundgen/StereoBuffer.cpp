#include "StereoBuffer.hpp"

#include <algorithm>
#include <cmath>

#include "Dsp.hpp"

namespace soundgen {

namespace {

// 0 at 0, 1 at 1, with zero slope at both ends.
double raisedCosine(double x) {
    return 0.5 - 0.5 * std::cos(pi * x);
}

void fadeRange(std::vector<float>& channel, std::size_t length, bool atStart) {
    const std::size_t n = std::min(length, channel.size());
    if (n == 0) {
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        // i = 0 is the outermost frame and must be exactly silent.
        const double gain = raisedCosine(static_cast<double>(i) / static_cast<double>(n));
        const std::size_t index = atStart ? i : channel.size() - 1 - i;
        channel[index] = static_cast<float>(channel[index] * gain);
    }
}

}  // namespace

void StereoBuffer::resize(std::size_t frames) {
    left.resize(frames, 0.0f);
    right.resize(frames, 0.0f);
}

void StereoBuffer::addMono(const MonoBuffer& signal, std::size_t start, double gain, double pan) {
    if (start + signal.size() > frames()) {
        resize(start + signal.size());
    }
    const double gl = gain * panLeft(pan);
    const double gr = gain * panRight(pan);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        left[start + i] += static_cast<float>(signal[i] * gl);
        right[start + i] += static_cast<float>(signal[i] * gr);
    }
}

void StereoBuffer::addStereo(const StereoBuffer& other, std::size_t start, double gain) {
    if (start + other.frames() > frames()) {
        resize(start + other.frames());
    }
    for (std::size_t i = 0; i < other.frames(); ++i) {
        left[start + i] += static_cast<float>(other.left[i] * gain);
        right[start + i] += static_cast<float>(other.right[i] * gain);
    }
}

double StereoBuffer::peak() const {
    double result = 0.0;
    for (std::size_t i = 0; i < frames(); ++i) {
        result = std::max(result, static_cast<double>(std::fabs(left[i])));
        result = std::max(result, static_cast<double>(std::fabs(right[i])));
    }
    return result;
}

double StereoBuffer::rms() const {
    if (frames() == 0) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < frames(); ++i) {
        sum += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
    }
    return std::sqrt(sum / (2.0 * static_cast<double>(frames())));
}

void StereoBuffer::scale(double gain) {
    for (std::size_t i = 0; i < frames(); ++i) {
        left[i] = static_cast<float>(left[i] * gain);
        right[i] = static_cast<float>(right[i] * gain);
    }
}

void StereoBuffer::normalisePeak(double peakDb) {
    const double current = peak();
    if (current > 0.0) {
        scale(dbToGain(peakDb) / current);
    }
}

void StereoBuffer::fadeIn(double seconds) {
    fadeRange(left, secondsToFrames(seconds), true);
    fadeRange(right, secondsToFrames(seconds), true);
}

void StereoBuffer::fadeOut(double seconds) {
    fadeRange(left, secondsToFrames(seconds), false);
    fadeRange(right, secondsToFrames(seconds), false);
}

void StereoBuffer::truncate(std::size_t frames) {
    left.resize(frames, 0.0f);
    right.resize(frames, 0.0f);
}

void StereoBuffer::foldLoop(std::size_t loopFrames) {
    for (std::size_t i = loopFrames; i < frames(); ++i) {
        left[i % loopFrames] += left[i];
        right[i % loopFrames] += right[i];
    }
    truncate(loopFrames);
}

void fadeInMono(MonoBuffer& signal, double seconds) {
    fadeRange(signal, secondsToFrames(seconds), true);
}

void fadeOutMono(MonoBuffer& signal, double seconds) {
    fadeRange(signal, secondsToFrames(seconds), false);
}

void addInto(MonoBuffer& target, const MonoBuffer& signal, std::size_t start, double gain) {
    if (start + signal.size() > target.size()) {
        target.resize(start + signal.size(), 0.0f);
    }
    for (std::size_t i = 0; i < signal.size(); ++i) {
        target[start + i] += static_cast<float>(signal[i] * gain);
    }
}

}  // namespace soundgen
