#pragma once

#include "StereoBuffer.hpp"

namespace soundgen {

// A stereo room reverb of parallel damped comb filters into series all-pass
// filters (the classic Schroeder-Moorer layout), with a pre-delay.
struct ReverbSettings {
    double roomSize = 0.8;   // 0..1: longer tail towards 1
    double damping = 0.4;    // 0..1: darker tail towards 1
    double preDelay = 0.02;  // seconds
    double width = 1.0;      // 0 mono .. 1 full stereo
};

// Turns the mono send signal into the wet stereo signal of the same length.
StereoBuffer reverberate(const MonoBuffer& send, const ReverbSettings& settings);

}  // namespace soundgen
