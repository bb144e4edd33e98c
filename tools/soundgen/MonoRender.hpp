#pragma once

#include <cstddef>

#include "Dsp.hpp"
#include "StereoBuffer.hpp"

namespace soundgen {

// A mono sound of `frames` frames: `sample(t)` gives the frame at `t` seconds.
// It is called once per frame, in order, so it may carry oscillator and filter
// state from one frame to the next.
template <typename Sample>
MonoBuffer renderMono(std::size_t frames, Sample sample) {
    MonoBuffer out(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        out[i] = static_cast<float>(sample(framesToSeconds(i)));
    }
    return out;
}

// A sound of `seconds` with short fades in and out so that it never clicks;
// a fade of 0 seconds leaves that end as it is.
template <typename Sample>
MonoBuffer renderFaded(double seconds, double fadeInSeconds, double fadeOutSeconds, Sample sample) {
    MonoBuffer out = renderMono(secondsToFrames(seconds), sample);
    fadeInMono(out, fadeInSeconds);
    fadeOutMono(out, fadeOutSeconds);
    return out;
}

}  // namespace soundgen
