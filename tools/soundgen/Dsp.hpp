#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace soundgen {

constexpr int sampleRate = 44100;
constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;

inline double midiToHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}
inline double dbToGain(double db) {
    return std::pow(10.0, db / 20.0);
}
inline double gainToDb(double gain) {
    return 20.0 * std::log10(std::max(gain, 1e-12));
}
inline std::size_t secondsToFrames(double seconds) {
    return static_cast<std::size_t>(std::max(0.0, std::round(seconds * sampleRate)));
}
inline double framesToSeconds(std::size_t frames) {
    return static_cast<double>(frames) / sampleRate;
}
// Equal-power pan: -1 hard left, 0 centre, +1 hard right.
inline double panLeft(double pan) {
    return std::cos((pan + 1.0) * pi / 4.0);
}
inline double panRight(double pan) {
    return std::sin((pan + 1.0) * pi / 4.0);
}
// Soft saturation that keeps small signals linear; used for drum punch.
inline double softClip(double x) {
    return std::tanh(x);
}

}  // namespace soundgen
