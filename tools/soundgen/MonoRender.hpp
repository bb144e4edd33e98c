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

}  // namespace soundgen
